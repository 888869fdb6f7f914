#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPalette>
#include <QVariant>

// Which characters a TqdEdit accepts from the keyboard, and how AsVariant reads its text.
enum TEditType { etFree, etNumber, etInteger };

// The single-line text box of every business window: Enter moves to the next field, the
// focused box is coloured, and the text is read and written as numbers or dates.
// Conversions that fail throw EConvertError with the Chinese message the user sees.
class TqdEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TqdEdit(QWidget* parent = nullptr);

    // Horizontal alignment of the text (Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter).
    Qt::Alignment Alignment() const { return alignment() & Qt::AlignHorizontal_Mask; }
    void SetAlignment(Qt::Alignment alignment);

    QColor ColorOnEnter() const { return m_colorOnEnter; }
    void SetColorOnEnter(const QColor& color);
    QColor ColorOnReadOnly() const { return m_colorOnReadOnly; }
    void SetColorOnReadOnly(const QColor& color);
    // Enter / Shift+Enter move the focus to the next / previous field of the window.
    bool TabOnEnter() const { return m_tabOnEnter; }
    void SetTabOnEnter(bool on) { m_tabOnEnter = on; }
    TEditType EditType() const { return m_editType; }
    void SetEditType(TEditType type);
    // A box that takes its colour from its parent is not recoloured on focus.
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool on) { m_parentColor = on; }

    // Background colour outside the focus; while focused it is remembered and shown again
    // when the focus leaves.
    QColor Color() const;
    void SetColor(const QColor& color);

    // Empty text reads as 0; 0 writes as empty text.
    double AsDouble() const;
    void SetAsDouble(double value);
    int AsInteger() const;
    void SetAsInteger(int value);
    // Date (yyyy-MM-dd) or Null for an empty box; a null or invalid value empties it.
    QVariant AsDate() const;
    void SetAsDate(const QVariant& value);
    // Date and time (yyyy-MM-dd hh:mm:ss; a date alone reads as midnight) or Null.
    QVariant AsDateTime() const;
    void SetAsDateTime(const QVariant& value);
    // Null for an empty box, else the text typed by EditType: double, int or QString.
    QVariant AsVariant() const;
    void SetAsVariant(const QVariant& value);

    // The messages of the failed conversions, with the offending text.
    static QString NotANumberMessage(const QString& text);
    static QString NotAnIntegerMessage(const QString& text);
    static QString NotADateMessage(const QString& text);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // True when the typed character may enter the text under the EditType's rules.
    bool AcceptsChar(QChar c) const;
    // Pastes the clipboard; a numeric box takes only text made of characters it accepts.
    void PasteChecked();
    void ApplyFocusColor();
    void RestoreColor();

    QColor m_colorOnEnter{0, 255, 255};
    QColor m_colorOnReadOnly{255, 255, 0};
    bool m_tabOnEnter = true;
    TEditType m_editType = etFree;
    bool m_parentColor = false;

    // Focus colouring: the palette before the focus came in, restored when it leaves.
    bool m_entered = false;
    bool m_applyingColor = false;
    QPalette m_savedPalette;
};
