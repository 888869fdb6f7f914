#include "inventory/ui/qdDateTimePicker.h"

#include "data/Exceptions.h"
#include "inventory/ui/qdEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace {

// True while the focus is in a widget of this control, such as its drop-down popup: the
// user still works in the control.
bool FocusStaysWithin(const QWidget* control)
{
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w == control)
            return true;
    }
    return false;
}

// Now to the second: the values go to the database as yyyy-MM-dd hh:mm:ss.
QDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return QDateTime(now.date(), QTime(t.hour(), t.minute(), t.second()));
}

bool IsNullValue(const QVariant& v)
{
    return !v.isValid() || v.isNull() || (v.typeId() == QMetaType::QDate && !v.toDate().isValid()) ||
           (v.typeId() == QMetaType::QDateTime && !v.toDateTime().isValid()) ||
           (v.typeId() == QMetaType::QTime && !v.toTime().isValid());
}

QTime ParseTime(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& format : {QStringLiteral("h:m:s"), QStringLiteral("h:m")}) {
        const QTime time = QTime::fromString(t, format);
        if (time.isValid())
            return time;
    }
    return QTime();
}

// Where the check box sits inside the frame, and the space between it and the text.
constexpr int kCheckboxLeft = 4;
constexpr int kCheckboxGap = 3;

const QDateTime kMinimum(QDate(100, 1, 1), QTime(0, 0));
const QDateTime kMaximum(QDate(9999, 12, 31), QTime(23, 59, 59, 999));

} // namespace

TqdDateTimePicker::TqdDateTimePicker(QWidget* parent) : QDateTimeEdit(parent)
{
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    // Qt's default range starts in 1752 and would silently clamp older dates.
    setDateTimeRange(kMinimum, kMaximum);
    setFocusPolicy(Qt::StrongFocus);
    ShowQuietly(Now());
    SetBackground(NormalColor());

    m_checkbox = new QCheckBox(this);
    m_checkbox->setFocusPolicy(Qt::NoFocus);
    m_checkbox->setCursor(Qt::ArrowCursor);
    m_checkbox->hide();
    connect(m_checkbox, &QCheckBox::toggled, this, &TqdDateTimePicker::SetChecked);
    // A date the user picks or types is a date meant: it checks the box.
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!m_settingValue && m_showCheckbox && !m_checked)
            SetChecked(true);
    });
}

void TqdDateTimePicker::SetShowCheckbox(bool show)
{
    if (show == m_showCheckbox)
        return;
    m_showCheckbox = show;
    m_checkbox->setVisible(show);
    PlaceCheckbox();
    UpdateTextColor();
    updateGeometry();
}

void TqdDateTimePicker::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    {
        const QSignalBlocker blocker(m_checkbox);
        m_checkbox->setChecked(checked);
    }
    UpdateTextColor();
    emit CheckedChanged(checked);
}

QVariant TqdDateTimePicker::AsDateTime() const
{
    if (m_showCheckbox && !m_checked)
        return QVariant();
    return dateTime();
}

QVariant TqdDateTimePicker::AsDate() const
{
    const QVariant v = AsDateTime();
    return v.isValid() ? QVariant(v.toDateTime().date()) : QVariant();
}

QVariant TqdDateTimePicker::AsTime() const
{
    const QVariant v = AsDateTime();
    return v.isValid() ? QVariant(v.toDateTime().time()) : QVariant();
}

void TqdDateTimePicker::SetAsDateTime(const QVariant& value)
{
    if (IsNullValue(value)) {
        ShowQuietly(Now());
        if (m_showCheckbox)
            SetChecked(false);
        return;
    }
    QDateTime dt;
    switch (value.typeId()) {
    case QMetaType::QDate:
        dt = QDateTime(value.toDate(), QTime(0, 0));
        break;
    case QMetaType::QDateTime:
        dt = value.toDateTime();
        break;
    case QMetaType::QString: {
        const QString t = value.toString().trimmed();
        for (const QString& format : {QStringLiteral("yyyy-M-d h:m:s"), QStringLiteral("yyyy-M-d h:m")}) {
            if (!dt.isValid())
                dt = QDateTime::fromString(t, format);
        }
        if (!dt.isValid()) {
            const QDate d = QDate::fromString(t, QStringLiteral("yyyy-M-d"));
            if (d.isValid())
                dt = QDateTime(d, QTime(0, 0));
        }
        break;
    }
    default:
        break;
    }
    if (!dt.isValid() || dt < kMinimum || dt > kMaximum)
        throw EConvertError(TqdEdit::NotADateMessage(value.toString()));
    ShowQuietly(dt);
    SetChecked(true);
}

void TqdDateTimePicker::SetAsDate(const QVariant& value)
{
    SetAsDateTime(value);
}

void TqdDateTimePicker::SetAsTime(const QVariant& value)
{
    if (IsNullValue(value)) {
        if (m_showCheckbox)
            SetChecked(false);
        else
            ShowQuietly(Now());
        return;
    }
    QTime t;
    switch (value.typeId()) {
    case QMetaType::QTime:
        t = value.toTime();
        break;
    case QMetaType::QDateTime:
        t = value.toDateTime().time();
        break;
    case QMetaType::QString:
        t = ParseTime(value.toString());
        break;
    default:
        break;
    }
    if (!t.isValid())
        throw EConvertError(TqdEdit::NotADateMessage(value.toString()));
    ShowQuietly(QDateTime(date(), t));
    SetChecked(true);
}

void TqdDateTimePicker::ClearPicker()
{
    ShowQuietly(Now());
    SetAsDate(QVariant());
}

void TqdDateTimePicker::ShowQuietly(const QDateTime& value)
{
    m_settingValue = true;
    setDateTime(value);
    m_settingValue = false;
}

QSize TqdDateTimePicker::sizeHint() const
{
    QSize size = QDateTimeEdit::sizeHint();
    if (m_showCheckbox)
        size.rwidth() += m_checkbox->sizeHint().width() + kCheckboxGap;
    return size;
}

QSize TqdDateTimePicker::minimumSizeHint() const
{
    QSize size = QDateTimeEdit::minimumSizeHint();
    if (m_showCheckbox)
        size.rwidth() += m_checkbox->sizeHint().width() + kCheckboxGap;
    return size;
}

void TqdDateTimePicker::PlaceCheckbox()
{
    const QSize box = m_checkbox->sizeHint();
    m_checkbox->setGeometry(kCheckboxLeft, (height() - box.height()) / 2, box.width(), box.height());
    // The text starts right of the check box, inside the same frame.
    lineEdit()->setTextMargins(m_showCheckbox ? box.width() + kCheckboxGap : 0, 0, 0, 0);
}

void TqdDateTimePicker::UpdateTextColor()
{
    // An unchecked picker shows its date greyed: it does not count.
    QPalette p = lineEdit()->palette();
    const QColor text = (m_showCheckbox && !m_checked) ? palette().color(QPalette::Disabled, QPalette::Text)
                                                       : palette().color(QPalette::Active, QPalette::Text);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::Text, text);
    lineEdit()->setPalette(p);
}

void TqdDateTimePicker::SetBackground(const QColor& color)
{
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Base, color);
        p.setColor(group, QPalette::Button, color);
    }
    setPalette(p);
}

void TqdDateTimePicker::resizeEvent(QResizeEvent* event)
{
    QDateTimeEdit::resizeEvent(event);
    PlaceCheckbox();
}

void TqdDateTimePicker::focusInEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusInEvent(event);
    SetBackground(FocusColor());
}

void TqdDateTimePicker::focusOutEvent(QFocusEvent* event)
{
    QDateTimeEdit::focusOutEvent(event);
    // The drop-down calendar keeps the picker focused as far as the user can see.
    if (event->reason() != Qt::PopupFocusReason && !FocusStaysWithin(this))
        SetBackground(NormalColor());
}

void TqdDateTimePicker::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        QWidget::focusNextPrevChild(mods == Qt::NoModifier); // the window's chain, not the sections
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Space && mods == Qt::NoModifier && m_showCheckbox) {
        SetChecked(!m_checked);
        event->accept();
        return;
    }
    QDateTimeEdit::keyPressEvent(event);
}

void TqdDateTimePicker::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QDateTimeEdit::wheelEvent(event);
}
