#pragma once

#include <map>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QStringList>

struct FrameCommand;
struct ProgramFolders;
class CQuavernDoc;
class CQuavernView;
class CTranspositionBar;
class QAction;
class QLabel;
class QToolBar;
class QToolButton;

/// The main window: menus, accelerators, tool bar, transposition bar and
/// status bar around the view. It owns no song state: it shows the
/// document's title, shift, hardness and highlighting on its bars as the
/// document reports them, and what it does to the song goes through the view
/// and the document.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    /// folders: the program's data and user folders, for the view.
    CMainFrame(CQuavernDoc* document, const ProgramFolders& folders, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// Builds the menus and the bars and connects the commands to their handlers.
    bool OnCreate();

    CQuavernView* GetActiveView() const { return m_pView; }
    /// The action of a command id, or nullptr.
    QAction* Action(int id) const;

    void OnComments();
    void OnSliderReleased();
    void OnManualChords();
    /// The options dialogs: each edits a copy and hands it over on OK.
    void OnChordLevels();
    void OnHighlightOptions();
    /// Closes the window as Exit does, but asks nothing: for a session that
    /// ends or a kill. An unsaved transposition is dropped.
    void CloseWithoutPrompts();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Every command of the window, in the order of its menus.
    static const std::vector<FrameCommand>& Commands();
    void BuildMenus();
    void BuildToolBar();
    void BuildTranspositionBar();
    void BuildStatusBar();
    void OnTitleChanged(const QString& title);
    void OnWorkingChanged();
    void OnOptionsChanged();
    void OnSongOptions();
    void OnSuggestCapo();
    /// Notes the capo the song's shapes are for, as text, on the bars and
    /// the printed page, and the line Save puts at the top of the song
    /// (empty: none); capo 0 takes every note away.
    void ShowCapo(int capo, const QString& text, const std::string& fileLine);
    /// Turns the guitarist's reading on or off as its menu entry now says.
    void OnReadAsGuitarist();
    /// The lasting notes of the status bar: which names stay as written, the
    /// song's key (or the capo and the keys of its shapes and its sound).
    void ShowUntouchedNames();
    /// The same note after a transposition: the legends left as written at
    /// the shift, with the names found when the song was read.
    void ShowLeftAsWritten();
    void ShowKey();

    CQuavernDoc* m_pDocument = nullptr;
    CQuavernView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QToolBar* m_pDialogBar = nullptr;
    CTranspositionBar* m_pTranspositionBar = nullptr;
    QToolButton* m_pUntouchedNote = nullptr;
    /// The names the table lacks the note names, which Read as a Guitarist
    /// moves; a legend left as written it cannot move.
    QStringList m_untouchedNames;
    QLabel* m_pKeyNote = nullptr;
    std::map<int, QAction*> m_actions;
    /// The capo the song's shapes were chosen for, 0 when none, and how the
    /// status bar names it.
    int m_nCapo = 0;
    QString m_strCapo;
    bool m_bNoPrompts = false;
};

/// The window title that follows the document's title.
inline constexpr const char* kFrameTitle = "Quavern";
