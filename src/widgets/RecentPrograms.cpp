#include "widgets/RecentPrograms.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace trv {

namespace {

const QString FilesKey = QStringLiteral("RecentPrograms/files");

QString absolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentPrograms::RecentPrograms()
    : RecentPrograms(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("trv"),
                                                 QStringLiteral("trv"))) {}

RecentPrograms::RecentPrograms(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

RecentPrograms::~RecentPrograms() = default;

QStringList RecentPrograms::files() const {
    // Another run may have written more, or the file may have been edited by hand.
    QStringList files;
    for (const QString& file : settings_->value(FilesKey).toStringList()) {
        if (!file.isEmpty() && !files.contains(file) && files.size() < MaxFiles)
            files.append(file);
    }
    return files;
}

void RecentPrograms::add(const QString& path) {
    const QString file = absolute(path);
    QStringList files = this->files();
    files.removeAll(file);
    files.prepend(file);
    store(files.mid(0, MaxFiles));
}

void RecentPrograms::remove(const QString& path) {
    QStringList files = this->files();
    files.removeAll(absolute(path));
    store(files);
}

void RecentPrograms::clear() {
    store({});
}

void RecentPrograms::store(const QStringList& files) {
    settings_->setValue(FilesKey, files);
    settings_->sync();
}

void RecentPrograms::fillMenu(QMenu& menu, const std::function<void(const QString& path)>& open) {
    menu.clear();
    const QStringList files = this->files();
    if (files.isEmpty()) {
        menu.addAction(tr("(none)"))->setEnabled(false);
        return;
    }
    int shortcut = 1;
    for (const QString& file : files) {
        // "&1 name", the folder in the tooltip; an ampersand of the name is no shortcut.
        QString name = QFileInfo(file).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = menu.addAction(QStringLiteral("&%1 %2").arg(shortcut++).arg(name));
        action->setToolTip(file);
        action->setStatusTip(file);
        QObject::connect(action, &QAction::triggered, &menu, [open, file] { open(file); });
    }
    menu.addSeparator();
    QObject::connect(menu.addAction(tr("Clear Menu")), &QAction::triggered, &menu, [this] { clear(); });
}

} // namespace trv
