#pragma once

#include <QWidget>

class QLabel;

// The borderless window shown centred on the screen while the database connection is made:
// "splash.jpg" of the home directory across its top (empty when the file is missing) and one
// status line.
class TSplashFrm : public QWidget
{
    Q_OBJECT

public:
    explicit TSplashFrm(QWidget* parent = nullptr);

    // A non-empty text replaces the status line, an empty one appends "."; repainted at once,
    // as no event loop runs yet.
    void ShowHint(const QString& text);
    QString Hint() const;
    bool HasPicture() const;

private:
    QLabel* m_picture = nullptr;
    QLabel* m_status = nullptr;
};
