#include "document/DisplayPage.h"

CDisplayPage::CDisplayPage(QObject* parent) : QWebEnginePage(parent) {}

CDisplayPage::~CDisplayPage() = default;

bool CDisplayPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type == NavigationTypeBackForward)
        return false;
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
