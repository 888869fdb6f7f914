#pragma once

#include <QFrame>
#include <QPixmap>
#include <QString>

class QLabel;

// The white title banner at the top of module windows: the title picture with the title
// text on it, and a thin picture stretched along its bottom.
class TTitle1Fra : public QFrame
{
    Q_OBJECT

public:
    explicit TTitle1Fra(QWidget* parent = nullptr);
    explicit TTitle1Fra(const QString& title, QWidget* parent = nullptr);

    QString Title() const;
    void SetTitle(const QString& title);
    QLabel* TitleLabel() const { return m_title; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_title = nullptr;
    QPixmap m_picture;
    QPixmap m_bottom;
};
