#include "inventory/ui/qdEdit.h"

#include "data/Exceptions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QDateTime>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include <cmath>
#include <limits>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

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

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Numbers are read in the C locale: digits, one ".", an optional sign or exponent.
bool ParseNumber(const QString& text, double& out)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

QString FormatNumber(double v)
{
    return QString::number(v, 'g', 15);
}

// Month and day may be typed with or without their leading zero.
QDate ParseDate(const QString& text)
{
    return QDate::fromString(text.trimmed(), QStringLiteral("yyyy-M-d"));
}

// A date and time, with or without seconds; a date alone is midnight of that day.
QDateTime ParseDateTime(const QString& text)
{
    const QString t = text.trimmed();
    for (const QString& format : {QStringLiteral("yyyy-M-d h:m:s"), QStringLiteral("yyyy-M-d h:m")}) {
        const QDateTime dt = QDateTime::fromString(t, format);
        if (dt.isValid())
            return dt;
    }
    const QDate d = ParseDate(t);
    return d.isValid() ? QDateTime(d, QTime(0, 0)) : QDateTime();
}

bool IsNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

bool IsIntegral(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool IsFloating(const QVariant& v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

// A date-valued variant (date, date-time or date text) as a date-time; invalid otherwise.
QDateTime VariantDateTime(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate().isValid() ? QDateTime(v.toDate(), QTime(0, 0)) : QDateTime();
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QString:
        return ParseDateTime(v.toString());
    default:
        return QDateTime();
    }
}

// An invalid date held in a variant means "no date", as Null does.
bool IsNullDate(const QVariant& v)
{
    return IsNull(v) || (v.typeId() == QMetaType::QDate && !v.toDate().isValid()) ||
           (v.typeId() == QMetaType::QDateTime && !v.toDateTime().isValid());
}

} // namespace

TqdEdit::TqdEdit(QWidget* parent) : QLineEdit(parent) {}

void TqdEdit::SetAlignment(Qt::Alignment alignment)
{
    setAlignment((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
}

void TqdEdit::SetColorOnEnter(const QColor& color)
{
    m_colorOnEnter = color;
    ApplyFocusColor();
}

void TqdEdit::SetColorOnReadOnly(const QColor& color)
{
    m_colorOnReadOnly = color;
    ApplyFocusColor();
}

void TqdEdit::SetEditType(TEditType type)
{
    m_editType = type;
    // Numeric boxes take plain key presses only: an input method would commit text
    // around the key rules, and a drop could bring in any text.
    setAttribute(Qt::WA_InputMethodEnabled, type == etFree);
    setAcceptDrops(type == etFree);
}

QColor TqdEdit::Color() const
{
    return m_entered ? m_savedPalette.color(QPalette::Base) : palette().color(QPalette::Base);
}

void TqdEdit::SetColor(const QColor& color)
{
    if (m_entered) {
        m_savedPalette.setColor(QPalette::Base, color);
        return;
    }
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

QString TqdEdit::NotANumberMessage(const QString& text)
{
    return u'"' + text + QStringLiteral("\" 不是有效的数字.");
}

QString TqdEdit::NotAnIntegerMessage(const QString& text)
{
    return u'"' + text + QStringLiteral("\" 不是有效的整数.");
}

QString TqdEdit::NotADateMessage(const QString& text)
{
    return u'"' + text + QStringLiteral("\" 不是有效的日期.");
}

double TqdEdit::AsDouble() const
{
    const QString t = text();
    if (t.isEmpty())
        return 0;
    double v = 0;
    if (!ParseNumber(t, v))
        throw EConvertError(NotANumberMessage(t));
    return v;
}

void TqdEdit::SetAsDouble(double value)
{
    if (!std::isfinite(value))
        throw EConvertError(NotANumberMessage(QString::number(value)));
    setText(value == 0 ? QString() : FormatNumber(value));
}

int TqdEdit::AsInteger() const
{
    const QString t = text();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int v = t.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EConvertError(NotAnIntegerMessage(t));
    return v;
}

void TqdEdit::SetAsInteger(int value)
{
    setText(value == 0 ? QString() : QString::number(value));
}

QVariant TqdEdit::AsDate() const
{
    const QString t = text();
    if (t.isEmpty())
        return QVariant();
    const QDate d = ParseDate(t);
    if (!d.isValid())
        throw EConvertError(NotADateMessage(t));
    return d;
}

void TqdEdit::SetAsDate(const QVariant& value)
{
    if (IsNullDate(value)) {
        clear();
        return;
    }
    const QDateTime dt = VariantDateTime(value);
    if (!dt.isValid())
        throw EConvertError(NotADateMessage(value.toString()));
    setText(dt.date().toString(kDateFormat));
}

QVariant TqdEdit::AsDateTime() const
{
    const QString t = text();
    if (t.isEmpty())
        return QVariant();
    const QDateTime dt = ParseDateTime(t);
    if (!dt.isValid())
        throw EConvertError(NotADateMessage(t));
    return dt;
}

void TqdEdit::SetAsDateTime(const QVariant& value)
{
    if (IsNullDate(value)) {
        clear();
        return;
    }
    const QDateTime dt = VariantDateTime(value);
    if (!dt.isValid())
        throw EConvertError(NotADateMessage(value.toString()));
    setText(dt.toString(kDateTimeFormat));
}

QVariant TqdEdit::AsVariant() const
{
    if (text().isEmpty())
        return QVariant();
    switch (m_editType) {
    case etNumber:
        return AsDouble();
    case etInteger:
        return AsInteger();
    case etFree:
        break;
    }
    return text();
}

void TqdEdit::SetAsVariant(const QVariant& value)
{
    if (IsNull(value)) {
        clear();
        return;
    }
    switch (m_editType) {
    case etNumber: {
        double d = 0;
        bool ok = false;
        if (IsIntegral(value) || IsFloating(value)) {
            d = value.toDouble();
            ok = std::isfinite(d);
        } else if (value.typeId() == QMetaType::QString) {
            ok = ParseNumber(value.toString(), d);
        }
        if (!ok)
            throw EConvertError(NotANumberMessage(value.toString()));
        setText(FormatNumber(d));
        return;
    }
    case etInteger: {
        // Only whole values fit: a fraction is refused rather than silently rounded.
        qint64 n = 0;
        bool ok = false;
        if (IsIntegral(value)) {
            n = value.toLongLong(&ok);
            if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong)
                ok = value.toULongLong() <= quint64(std::numeric_limits<int>::max());
        } else if (IsFloating(value)) {
            const double d = value.toDouble();
            ok = std::isfinite(d) && d == std::trunc(d) && std::abs(d) < 4e9;
            n = ok ? qint64(d) : 0;
        } else if (value.typeId() == QMetaType::QString) {
            n = value.toString().trimmed().toInt(&ok, 10);
        }
        ok = ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
        if (!ok)
            throw EConvertError(NotAnIntegerMessage(value.toString()));
        setText(QString::number(n));
        return;
    }
    case etFree:
        break;
    }
    switch (value.typeId()) {
    case QMetaType::QDate:
        setText(value.toDate().toString(kDateFormat));
        break;
    case QMetaType::QDateTime:
        setText(value.toDateTime().toString(kDateTimeFormat));
        break;
    case QMetaType::QTime:
        setText(value.toTime().toString(QStringLiteral("hh:mm:ss")));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        setText(FormatNumber(value.toDouble()));
        break;
    default:
        setText(value.toString());
        break;
    }
}

bool TqdEdit::AcceptsChar(QChar c) const
{
    switch (m_editType) {
    case etFree:
        return true;
    case etInteger:
        return IsDigit(c);
    case etNumber:
        break;
    }
    // The checks look at the whole text, wherever the caret is.
    const QString t = text();
    if (c == u'.')
        return !t.isEmpty() && !t.contains(u'.');
    if (c == u'0')
        return t.contains(u'.') || !t.startsWith(u'0');
    return IsDigit(c);
}

void TqdEdit::PasteChecked()
{
    if (isReadOnly())
        return;
    const QString clip = QGuiApplication::clipboard()->text().trimmed();
    if (clip.isEmpty())
        return;
    for (QChar c : clip) {
        if (!IsDigit(c) && !(m_editType == etNumber && c == u'.'))
            return;
    }
    if (m_editType == etNumber) {
        QString rest = text();
        if (hasSelectedText())
            rest.remove(selectionStart(), selectedText().size());
        if (rest.count(u'.') + clip.count(u'.') > 1)
            return;
    }
    insert(clip);
}

void TqdEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && m_tabOnEnter && (mods == Qt::NoModifier || mods == Qt::ShiftModifier) && window() != this) {
        QWidget::focusNextPrevChild(mods == Qt::NoModifier);
        event->accept();
        return;
    }
    if (m_editType != etFree) {
        if (event->matches(QKeySequence::Paste)) {
            PasteChecked();
            event->accept();
            return;
        }
        // Shortcuts (copy, select all, undo) and keys without a character pass; a typed
        // character must satisfy the rules of the numeric type.
        const QString typed = event->text();
        const bool shortcut = mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!shortcut && !typed.isEmpty() && typed.at(0).isPrint() &&
            (typed.size() != 1 || !AcceptsChar(typed.at(0)))) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TqdEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (!menu)
        return;
    if (m_editType != etFree) {
        // Qt's paste item carries QLineEdit's own (translated) caption: rewire it.
        const QString pasteCaption = QLineEdit::tr("&Paste");
        for (QAction* action : menu->actions()) {
            if (!action->menu() && action->text().startsWith(pasteCaption)) {
                disconnect(action, &QAction::triggered, this, nullptr);
                connect(action, &QAction::triggered, this, &TqdEdit::PasteChecked);
            }
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TqdEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from a popup (context menu) the box never logically lost the focus.
    if (!m_entered && !m_parentColor) {
        m_savedPalette = palette();
        m_entered = true;
    }
    ApplyFocusColor();
}

void TqdEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && !FocusStaysWithin(this))
        RestoreColor();
}

void TqdEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (!m_entered || m_applyingColor)
        return;
    if (event->type() == QEvent::PaletteChange) {
        // The window set a new background while the box had the focus: it is the colour
        // to come back to.
        if (palette().color(QPalette::Base) != m_savedPalette.color(QPalette::Base) &&
            palette().color(QPalette::Base) != (isReadOnly() ? m_colorOnReadOnly : m_colorOnEnter))
            m_savedPalette = palette();
        ApplyFocusColor();
    } else if (event->type() == QEvent::ReadOnlyChange) {
        ApplyFocusColor();
    }
}

void TqdEdit::ApplyFocusColor()
{
    if (!m_entered)
        return;
    QPalette p = m_savedPalette;
    p.setColor(QPalette::Base, isReadOnly() ? m_colorOnReadOnly : m_colorOnEnter);
    m_applyingColor = true;
    setPalette(p);
    m_applyingColor = false;
}

void TqdEdit::RestoreColor()
{
    if (!m_entered)
        return;
    m_entered = false;
    m_applyingColor = true;
    setPalette(m_savedPalette);
    m_applyingColor = false;
}
