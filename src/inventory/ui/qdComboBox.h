#pragma once

#include <QColor>
#include <QComboBox>

// The drop-down list of every business window: no automatic completion, Enter moves to the
// next field (Shift+Enter to the previous one), aqua while focused and white otherwise; in
// the drop-down-list style Delete clears the selection.
class TqdComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit TqdComboBox(QWidget* parent = nullptr);

    // Also switches the completion off that Qt gives a new line edit.
    void setEditable(bool editable);

    static QColor FocusColor() { return {0, 255, 255}; }
    static QColor NormalColor() { return {255, 255, 255}; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // Clears the selection (and an editable list's text); a change is reported through
    // currentIndexChanged when an item was selected.
    void ClearSelection();

private:
    void SetBackground(const QColor& color);
    void SwitchCompletionOff();
};
