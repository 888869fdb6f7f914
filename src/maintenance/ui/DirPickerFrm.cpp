#include "DirPickerFrm.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// The mounted volumes stand for the drives: their root paths, "/" first.
QStringList volumeRoots()
{
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && !roots.contains(v.rootPath()))
            roots << v.rootPath();
    return roots;
}

// The volume a directory lies on: the longest root that contains it.
QString volumeOf(const QString& dir, const QStringList& roots)
{
    QString best = QDir::rootPath();
    for (const QString& r : roots) {
        const QString prefix = r.endsWith(QLatin1Char('/')) ? r : r + QLatin1Char('/');
        if ((dir == r || dir.startsWith(prefix)) && r.size() > best.size())
            best = r;
    }
    return best;
}

} // namespace

TDirPickerFrm::TDirPickerFrm(const QString& startDir, QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("DirPickerFrm"));
    setWindowTitle(QStringLiteral("选择目录"));
    resize(420, 460);

    auto* layout = new QVBoxLayout(ClientArea());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("请选择备份目录"), ClientArea()));
    m_drives = new QComboBox(ClientArea());
    m_drives->setObjectName(QStringLiteral("cbDrive"));
    m_drives->addItems(volumeRoots());
    layout->addWidget(m_drives);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(ClientArea());
    m_tree->setObjectName(QStringLiteral("tvDirs"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    layout->addWidget(m_tree, 1);

    m_selected = new QLabel(ClientArea());
    m_selected->setObjectName(QStringLiteral("lblDir"));
    m_selected->setWordWrap(true);
    layout->addWidget(m_selected);

    connect(m_drives, &QComboBox::currentTextChanged, this, [this](const QString& root) {
        if (volumeOf(m_current, volumeRoots()) != root)
            SelectDirectory(root);
    });
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (!index.isValid())
                    return;
                m_current = m_model->filePath(index);
                m_selected->setText(m_current);
            });

    const QString start =
        QFileInfo(startDir).isDir() ? QFileInfo(startDir).absoluteFilePath() : QDir::homePath();
    SelectDirectory(start);
}

void TDirPickerFrm::showVolume(const QString& root)
{
    const int i = m_drives->findText(root);
    if (i >= 0 && m_drives->currentIndex() != i) {
        const QSignalBlocker block(m_drives);
        m_drives->setCurrentIndex(i);
    }
    m_tree->setRootIndex(m_model->index(root));
}

void TDirPickerFrm::SelectDirectory(const QString& dir)
{
    const QString path = QDir::cleanPath(dir);
    m_current = path;
    m_selected->setText(path);
    showVolume(volumeOf(path, volumeRoots()));
    const QModelIndex index = m_model->index(path);
    if (index.isValid()) {
        m_tree->setCurrentIndex(index);
        m_tree->scrollTo(index);
        m_tree->expand(index);
    }
}

QString PickDirectory(const QString& start, QWidget* parent)
{
    TDirPickerFrm dlg(start, parent);
    if (dlg.exec() != QDialog::Accepted || dlg.Directory().isEmpty())
        return start;
    return dlg.Directory();
}
