#pragma once

#include "shell/ui/ADlgFrm.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QTreeView;

// The directory picker "选择目录": a drive (mounted volume) selector and a directory tree,
// both starting at the given directory, and a label with the selected directory.
class TDirPickerFrm : public TADlgFrm
{
    Q_OBJECT

public:
    explicit TDirPickerFrm(const QString& startDir, QWidget* parent = nullptr);

    QString Directory() const { return m_current; }
    // Selects a directory in the tree (and its volume in the selector).
    void SelectDirectory(const QString& dir);

private:
    void showVolume(const QString& root);

    QComboBox* m_drives;
    QTreeView* m_tree;
    QFileSystemModel* m_model;
    QLabel* m_selected;
    QString m_current;
};

// The selected directory on OK, else start unchanged. A start directory that does not exist
// is ignored and the user's home directory is shown.
QString PickDirectory(const QString& start, QWidget* parent = nullptr);
