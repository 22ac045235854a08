#include "tests/gui/GuiTestSupport.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QSettings>
#include <QTest>

#include "app/MainFrame.h"
#include "app/QuavernApp.h"
#include "document/QuavernDoc.h"
#include "document/QuavernView.h"
#include <QWebEnginePage>
#include "base/SettingsStore.h"
#include "platform/QtSettingsStore.h"
#include "tests/support/EventWait.h"
#include "tests/support/PageScript.h"

QString CScriptedDialogs::GetOpenFileName(QWidget*, const QString& folder, const QString& filter) {
    lastFolder = folder;
    lastFilter = filter;
    return openFiles.isEmpty() ? QString() : openFiles.dequeue();
}

QString CScriptedDialogs::GetSaveFileName(QWidget*, const QString& folder, const QString& filter) {
    lastFolder = folder;
    lastFilter = filter;
    return saveFiles.isEmpty() ? QString() : saveFiles.dequeue();
}

QMessageBox::StandardButton CScriptedDialogs::AskSaveFile(QWidget*) {
    ++questionsAsked;
    return answers.isEmpty() ? QMessageBox::Cancel : answers.dequeue();
}

bool CScriptedDialogs::AskPrint(QWidget*, QPrinter* printer) {
    if (printFiles.isEmpty())
        return false;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printFiles.dequeue());
    if (printLayout.isValid())
        printer->setPageLayout(printLayout);
    return true;
}

void ClearStoredSettings() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                       QString::fromLatin1(kSettingsApplication));
    settings.clear();
    settings.sync();
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

CProgramFixture::CProgramFixture(const char* startPage, bool clearSettings) {
    m_previousFolder = QDir::currentPath();
    QDir::setCurrent(m_folder.path());
    if (clearSettings)
        ClearStoredSettings();
    if (startPage)
        WriteFile(QStringLiteral("Start.htm"), QByteArray(startPage));
    m_previousDialogs = SetUserDialogs(&dialogs);
}

CProgramFixture::~CProgramFixture() {
    m_app.reset();
    SetUserDialogs(m_previousDialogs);
    QDir::setCurrent(m_previousFolder);
}

bool CProgramFixture::Start(int highlighted) {
    if (highlighted != kStoredHighlighting) {
        QSettings settings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                           QString::fromLatin1(kSettingsApplication));
        settings.setValue(QStringLiteral("%1/AREHIGHLIGHTED").arg(QString::fromLatin1(kSettingsSection)), highlighted);
        settings.sync();
    }
    m_app = folders ? std::make_unique<CQuavernApp>(*folders) : std::make_unique<CQuavernApp>();
    if (!m_app->InitInstance({}))
        return false;
    return WaitReady();
}

bool CProgramFixture::Close() {
    if (!m_app)
        return true;
    const bool closed = Frame()->close();
    if (closed)
        m_app.reset();
    return closed;
}

CMainFrame* CProgramFixture::Frame() const {
    return m_app ? m_app->GetMainWnd() : nullptr;
}

CQuavernView* CProgramFixture::View() const {
    return Frame() ? Frame()->GetActiveView() : nullptr;
}

CQuavernDoc* CProgramFixture::Document() const {
    return m_app ? m_app->GetDocument() : nullptr;
}

QAction* CProgramFixture::Action(int id) const {
    return Frame() ? Frame()->Action(id) : nullptr;
}

bool CProgramFixture::Run(int id) {
    QAction* action = Action(id);
    if (!action)
        return false;
    action->trigger();
    return WaitReady();
}

bool CProgramFixture::WaitReady(int timeoutMs) const {
    CQuavernView* view = View();
    if (!view)
        return false;
    // Let a page that was asked for start loading before looking at the flag.
    QTest::qWait(0);
    return WaitUntil([view] { return view->IsReady(); }, timeoutMs);
}

QString CProgramFixture::PathOf(const QString& name) const {
    return QDir(m_folder.path()).absoluteFilePath(name);
}

QString CProgramFixture::WriteFile(const QString& name, const QByteArray& bytes) const {
    const QString path = PathOf(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

bool CProgramFixture::OpenSong(const QString& path) {
    // An unsaved transposition of the previous song is dropped.
    if (View() && Document()->IsModified())
        dialogs.answers.enqueue(QMessageBox::No);
    dialogs.openFiles.enqueue(path);
    return Run(57601);
}

CNoCacheFolder::CNoCacheFolder() : m_previous(qgetenv("XDG_CACHE_HOME")) {
    // The kernel's folder of a process takes no new folder from anyone.
    qputenv("XDG_CACHE_HOME", "/proc/self/quavern-test-cache");
}

CNoCacheFolder::~CNoCacheFolder() {
    qputenv("XDG_CACHE_HOME", m_previous);
}

QString ShownText(CQuavernView* view, int timeoutMs) {
    return Run(view->page(), QStringLiteral("document.body ? document.body.innerText : ''"), timeoutMs).toString();
}

bool WaitForShownText(CQuavernView* view, const std::function<bool(const QString&)>& holds, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    return WaitUntil(
        [&] { return holds(ShownText(view, qMax<int>(1, timeoutMs - static_cast<int>(clock.elapsed())))); }, timeoutMs);
}
