#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TUpgradeSet;

// The upgrade window. In upgrade mode ("数据升级", from the menu) the user picks the version he
// comes from and the stored script of that version runs; a triple double click on the picture
// reveals "设置", which opens the window in configuration mode ("升级配置"), where the scripts
// are written, tested and saved. Unlike the other windows it derives from no base window.
class TDBUpgradeFrm : public QDialog
{
    Q_OBJECT

public:
    enum TMode { umUpgrade, umConfig };

    // version: the version to select in configuration mode (empty: the first).
    explicit TDBUpgradeFrm(TMode mode, const QString& version = QString(), QWidget* parent = nullptr);
    ~TDBUpgradeFrm() override;

    TMode Mode() const { return m_mode; }
    // Upgrade mode: the script ran and was committed; the program is to restart.
    bool Upgraded() const { return m_upgraded; }

    // Upgrade mode.
    QComboBox* VersionBox() const { return m_versionBox; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QPushButton* SetupButton() const { return m_setup; }
    QLabel* Picture() const { return m_picture; }
    // Fills the version list from the table, in table order.
    void LoadVersions();
    // "确定": runs the selected version's script.
    void RunUpgrade();
    // "设置": the configuration window on the chosen version; the list is reloaded after it
    // closes with OK.
    void OpenSetup();

    // Configuration mode.
    QListWidget* VersionList() const { return m_versionList; }
    QPlainTextEdit* Editor() const { return m_editor; }
    void NewVersion();
    void RenameVersion();
    void DeleteVersion();
    void TestScript();
    // "确定": saves every change, "保存成功", closes with OK.
    void SaveConfig();

    QPushButton* Button(const QString& objectName) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUpgradePage(QWidget* page);
    void buildConfigPage(QWidget* page);
    void fillVersionList(const QString& select);
    void showVersion(int row);
    void storeEditor();
    void updateConfigButtons();
    bool gotoRow(int row);

    TMode m_mode;
    bool m_upgraded = false;
    int m_doubleClicks = 0;
    std::unique_ptr<TUpgradeSet> m_set;
    int m_editingBookmark = -1;

    QComboBox* m_versionBox = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_setup = nullptr;
    QLabel* m_picture = nullptr;

    QListWidget* m_versionList = nullptr;
    QPlainTextEdit* m_editor = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_test = nullptr;
};

// The menu item "从旧版本升级...": the window in upgrade mode; after a successful upgrade the
// main window closes (its close sequence runs) and the program starts again.
void ShowDBUpgrade();
// Closes the main window and starts the program's own executable with its arguments; nothing
// when the main window refuses to close.
void RestartProgram();
