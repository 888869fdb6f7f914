#pragma once

#include "data/Configer.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;

// The dialog shown when the configured database cannot be opened: provider and its parameters.
class TDBConfigFrm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDBConfigFrm)

public:
    explicit TDBConfigFrm(TConfiger& cfg, QWidget* parent = nullptr);
    // Loads the settings into the fields, runs the dialog; true when closed with OK.
    bool Execute();

    QComboBox* cbProvider = nullptr;
    QLineEdit *edtServer = nullptr, *edtDb = nullptr, *edtUser = nullptr, *edtPw = nullptr,
              *edtPort = nullptr;
    QCheckBox* chkSmart = nullptr;
    QLineEdit *edtJetFile = nullptr, *edtJetUser = nullptr, *edtJetPw = nullptr;
    QPushButton* btnJetFile = nullptr;
    QCheckBox* chkDefault = nullptr;
    QLineEdit *edtDipUrl = nullptr, *edtDipUser = nullptr;
    QLineEdit *edtPgServer = nullptr, *edtPgDb = nullptr, *edtPgUser = nullptr, *edtPgPw = nullptr,
              *edtPgPort = nullptr;
    QPushButton *btnOk = nullptr, *btnCancel = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void loadFields();
    void okClick();
    void updateJetEnabled();
    TConfiger& m_cfg;
    QStackedWidget* m_pages = nullptr;
};

// Runs the start-up connection loop with this dialog.
bool ConnectDatabaseWithDialog();
