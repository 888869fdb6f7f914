#pragma once

#include <QDialog>
#include <QString>

class QKeyEvent;
class QMouseEvent;

// The base of every window of the program: placed near the mouse pointer each time it is
// shown (a declared centring wins on the first showing), F1 opens its help page, Enter and
// Shift+Enter move the focus to the next and previous field in every input control, and a
// borderless instance can be resized from its edges and corners.
class TaFrm : public QDialog
{
    Q_OBJECT

public:
    // Where the window goes on its first showing, after the placement near the pointer.
    enum TPosition { poDesigned, poScreenCenter, poMainFormCenter, poOwnerFormCenter };

    explicit TaFrm(QWidget* parent = nullptr);

    TPosition Position() const { return m_position; }
    void SetPosition(TPosition position) { m_position = position; }

    // Opens the help page of the topic (empty: the window's own topic, see HelpTopicOf) with
    // the default program; a missing page gives a message.
    virtual void ShowHelp(const QString& topic = QString());
    // Places the window around the mouse pointer, inside the screen the pointer is on.
    void PlaceNearCursor();

    // The main window, on which poMainFormCenter windows are centred.
    static QWidget* MainForm();
    static void SetMainForm(QWidget* form);

    // True for the widgets whose Enter the window turns into a focus move: Qt's own line
    // edits, combo boxes, spin and date boxes, check and radio boxes. The program's own input
    // controls (Tqd...) move the focus themselves, or keep Enter when told so.
    static bool MovesFocusOnEnter(const QWidget* widget);

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    // Esc: nothing in a plain window; dialogs cancel.
    virtual void EscapePressed() {}
    // Ctrl+Enter: nothing in a plain window; dialogs press OK.
    virtual void CtrlEnterPressed() {}

private:
    bool isBorderless() const;
    void centre();

    TPosition m_position = poDesigned;
    bool m_shownOnce = false;
};
