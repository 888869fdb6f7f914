#pragma once

#include <QDateTimeEdit>
#include <QVariant>

class QCheckBox;

// The date-time picker of every business window, optionally with a check box: an unchecked
// picker reads as Null ("no date", e.g. an open bound of a finder). It is created unchecked,
// showing the current date and time as yyyy-MM-dd with a drop-down calendar. Aqua while
// focused, white otherwise; Enter / Shift+Enter move to the next / previous field.
class TqdDateTimePicker : public QDateTimeEdit
{
    Q_OBJECT

public:
    explicit TqdDateTimePicker(QWidget* parent = nullptr);

    bool ShowCheckbox() const { return m_showCheckbox; }
    void SetShowCheckbox(bool show);
    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);

    // Null when the check box is shown and unchecked, else the picked value.
    QVariant AsDateTime() const;
    QVariant AsDate() const;
    QVariant AsTime() const;
    // A value (date, date-time or yyyy-MM-dd[ hh:mm:ss] text) is shown and checks the box;
    // Null shows the current date and time and unchecks the box.
    void SetAsDateTime(const QVariant& value);
    void SetAsDate(const QVariant& value);
    // A value (time, date-time or hh:mm[:ss] text) sets the time of day and checks the box;
    // Null unchecks the box, or shows the current date and time when there is none.
    void SetAsTime(const QVariant& value);
    // Shows the current date and time and writes Null through AsDate.
    void ClearPicker();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static QColor FocusColor() { return {0, 255, 255}; }
    static QColor NormalColor() { return {255, 255, 255}; }

signals:
    void CheckedChanged(bool checked);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetBackground(const QColor& color);
    void PlaceCheckbox();
    void UpdateTextColor();
    // Shows a value without the automatic check a user's change brings.
    void ShowQuietly(const QDateTime& value);

    QCheckBox* m_checkbox = nullptr;
    bool m_showCheckbox = false;
    bool m_checked = false;
    bool m_settingValue = false;
};

// The name the business windows use for their date pickers; it adds nothing.
using TDateTimePicker = TqdDateTimePicker;
