#pragma once

#include "shell/ui/aFrm.h"
#include "shell/ui/mall.h"

#include <QDate>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QToolBar;
class TDeskView;

// The main window: menus and toolbar that open every function through the facade, the
// information panel (today, the lunar date, the operator), the operator's personal desktop
// of shortcut icons, and a four-panel status bar. Closing it runs the close sequence.
class TmainFrm : public TaFrm
{
    Q_OBJECT

public:
    explicit TmainFrm(Tmall& mall, QWidget* parent = nullptr, const QDate& today = QDate::currentDate());
    ~TmainFrm() override;

    // The login dialog; on success shows the operator, reloads the desktop with its stored
    // positions and sets gPriceVisible. False when cancelled (nothing changes then).
    bool Login();

    QString ReadMenus(const QString& loginId) const;
    void WriteMenus(const QString& loginId, const QString& menus) const;
    // Fills the desktop from the operator's Menus; with applyPositions the stored places are
    // used. A position that is not a number raises EConvertError after the icons before it
    // were placed.
    void LoadDesktop(bool applyPositions);
    // Stores every icon's caption and place, in view order, as the operator's Menus.
    void SaveDesktop();
    // Saves, runs the shortcut chooser and, on OK, reloads the desktop with positions.
    void EditDesktop();

    // Double click / "打开": the menu item of the selected icon's caption, else the chooser.
    void OpenSelected();
    void DeleteSelected();
    void AlignTop();
    void AlignLeft();
    void Rearrange();
    // The main-menu item whose caption equals caption (letter case and "&" ignored): the
    // current level first, then depth-first inside each item with sub-items.
    QAction* FindMenuItem(const QString& caption) const;

    // The close sequence: options 101 and 102, the desktop, the automatic backup, the
    // connection. Runs once, for every way of closing.
    void CloseSequence();

    QMenuBar* MainMenu() const { return m_menuBar; }
    QToolBar* ToolBar() const { return m_toolBar; }
    TDeskView* DeskView() const { return m_desk; }
    QStatusBar* StatusBar() const { return m_statusBar; }
    QLabel* StatusPanel(int i) const { return m_panels[i]; }
    QMenu* DeskMenu() const { return m_deskMenu; }
    QAction* MenuItem(const QString& objectName) const;

signals:
    // The window has closed and its close sequence has run: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    QWidget* buildInfoPanel(const QDate& today);
    void buildStatusBar();
    void buildDeskMenu();
    QAction* addItem(QMenu* menu, const QString& caption, const QString& name, std::function<void()> handler);
    QAction* addCommand(QMenu* menu, const QString& caption, const QString& name, Tmall::TCommand command);
    void runCommand(Tmall::TCommand command);
    void startTool(const QStringList& candidates, const QString& what);
    void openHomeFile(const QString& name);
    void showTips();
    void showAbout();

    Tmall& m_mall;
    QMenuBar* m_menuBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    TDeskView* m_desk = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_panels[4] = {};
    QLabel* m_lblDate = nullptr;
    QLabel* m_lblLunar = nullptr;
    QLabel* m_lblOperator = nullptr;
    QMenu* m_deskMenu = nullptr;
    QAction* m_statusBarItem = nullptr;
    bool m_closed = false;
};
