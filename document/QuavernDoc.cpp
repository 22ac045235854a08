#include "document/QuavernDoc.h"

#include <QFile>

#include "chords/Messages.h"
#include "chords/SettingsStore.h"
#include "document/QuavernView.h"
#include "render/PartedPage.h"

CQuavernDoc::CQuavernDoc(QObject* parent) : QObject(parent) {}

CQuavernDoc::~CQuavernDoc() = default;

bool CQuavernDoc::OnNewDocument() {
    m_display = CTablature();
    m_loaded = CTablature();
    m_working = CTablature();
    SetTitle(QString());
    return true;
}

void CQuavernDoc::AddView(CQuavernView* view) {
    m_pView = view;
}

void CQuavernDoc::RemoveView(CQuavernView* view) {
    if (m_pView == view)
        m_pView = nullptr;
}

void CQuavernDoc::UpdateAllViews() {
    if (m_pView)
        m_pView->OnUpdate();
}

void CQuavernDoc::SetTitle(const QString& title) {
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    Q_EMIT TitleChanged(m_strTitle);
}

void CQuavernDoc::LoadSettings() {
    ISettingsStore& store = GetProfileStore();
    const std::string section = kSettingsSection;
    m_highlight.bold = store.GetInt(section, "BOLD", 1);
    m_highlight.italic = store.GetInt(section, "ITALIC", 0);
    m_highlight.underline = store.GetInt(section, "UNDERLINE", 0);
    m_highlight.useColor = store.GetInt(section, "USECOLOR", 1);
    m_highlight.infobulle = store.GetInt(section, "INFOBULLE", 1);
    const int red = store.GetInt(section, "RED", 0);
    const int green = store.GetInt(section, "GREEN", 0);
    const int blue = store.GetInt(section, "BLUE", 255);
    m_highlight.color = ((blue & 0xff) << 16) | ((green & 0xff) << 8) | (red & 0xff);
    const int highlighted = store.GetInt(section, "AREHIGHLIGHTED", 1);
    const std::string lastDirectory = store.GetString(section, "LASTDIRECTORY", std::string());
    if (m_pView) {
        m_pView->m_bHighlighted = highlighted;
        m_pView->m_strLastDirectory = QString::fromStdString(lastDirectory);
    }
}

void CQuavernDoc::SaveSettings() {
    ISettingsStore& store = GetProfileStore();
    const std::string section = kSettingsSection;
    store.WriteInt(section, "BOLD", m_highlight.bold);
    store.WriteInt(section, "ITALIC", m_highlight.italic);
    store.WriteInt(section, "UNDERLINE", m_highlight.underline);
    store.WriteInt(section, "USECOLOR", m_highlight.useColor);
    store.WriteInt(section, "INFOBULLE", m_highlight.infobulle);
    store.WriteInt(section, "BLUE", (m_highlight.color >> 16) & 0xff);
    store.WriteInt(section, "RED", m_highlight.color & 0xff);
    store.WriteInt(section, "GREEN", (m_highlight.color >> 8) & 0xff);
    if (m_pView) {
        store.WriteInt(section, "AREHIGHLIGHTED", m_pView->m_bHighlighted);
        store.WriteString(section, "LASTDIRECTORY", m_pView->m_strLastDirectory.toStdString());
    }
}

bool CQuavernDoc::WritePlainDisplay() {
    return WriteDisplay(false);
}

bool CQuavernDoc::WriteHighlightedDisplay() {
    return WriteDisplay(true);
}

bool CQuavernDoc::WriteDisplay(bool highlighted) {
    const std::string* page = &m_working.text;
    std::string parted;
    if (m_pView &&
        BuildPartedDisplayPage(m_working.text, m_pView->m_added, highlighted ? &m_highlight : nullptr, parted)) {
        // A large song is shown in parts; m_display keeps the working song
        // unhighlighted, the parts carry the highlighting.
        m_display = m_working;
        page = &parted;
    } else if (highlighted) {
        // The scratch copy is refilled every time, so highlighting never accumulates.
        m_display = m_working;
        HighlightChords(m_display, m_highlight);
        page = &m_display.text;
    }
    if (!m_pView || !WriteDisplayFile(m_pView->m_strDisplayPath, *page))
        return false;
    UpdateAllViews();
    return true;
}

bool CQuavernDoc::TransposeBy(int shift) {
    m_working = m_loaded;
    m_working.Transpose(shift);
    return m_pView && m_pView->m_bHighlighted ? WriteHighlightedDisplay() : WritePlainDisplay();
}

int CQuavernDoc::FindEasiestShift(bool* written) {
    m_working = m_loaded;
    const int shift = m_working.FindEasiest();
    const bool ok = m_pView && m_pView->m_bHighlighted ? WriteHighlightedDisplay() : WritePlainDisplay();
    if (written)
        *written = ok;
    return shift;
}

bool CQuavernDoc::WriteDisplayFile(const QString& path, const std::string& text) {
    QFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
    if (file.isOpen())
        file.close(); // flushes; a failure shows in error()
    ok = ok && file.error() == QFileDevice::NoError;
    if (!ok) {
        ShowMessage("The display file " + path.toStdString() +
                    " could not be written : " + file.errorString().toStdString());
    }
    return ok;
}
