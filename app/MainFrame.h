#pragma once

#include <map>

#include <QMainWindow>

class CQuavernDoc;
class CQuavernView;
class CTranspositionBar;
class QAction;
class QToolBar;

/// The main window: menus, accelerators, tool bar, transposition bar and
/// status bar around the view. It owns no song state: the slider and the
/// gauges are written by the view, and what the frame does to the song goes
/// through the view.
class CMainFrame final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CMainFrame)

public:
    explicit CMainFrame(CQuavernDoc* document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /// Builds the menus and the bars and connects the commands to their handlers.
    bool OnCreate();

    CQuavernView* GetActiveView() const { return m_pView; }
    CTranspositionBar* GetTranspositionBar() const { return m_pTranspositionBar; }
    /// The action of a command id, or nullptr.
    QAction* Action(int id) const;

    void OnComments();
    void OnSliderReleased();
    void OnManualChords();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(int id, const QString& text, const QString& prompt = QString(),
                       const QString& toolTip = QString());
    void BuildMenus();
    void BuildToolBar();
    void BuildTranspositionBar();
    void BuildStatusBar();
    void OnTitleChanged(const QString& title);

    CQuavernView* m_pView = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QToolBar* m_pDialogBar = nullptr;
    CTranspositionBar* m_pTranspositionBar = nullptr;
    std::map<int, QAction*> m_actions;
};

/// The window title that follows the document's title.
inline constexpr const char* kFrameTitle = "Quavern";
