#include "widgets/ProgramFileCommands.h"

#include "logic/MainController.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/ProgramFileMessages.h"
#include "widgets/RecentPrograms.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace trv {

namespace {

QString extension() {
    return QString::fromLatin1(ProgramFileExtension.data(), static_cast<qsizetype>(ProgramFileExtension.size()));
}

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

ProgramFileCommands::ProgramFileCommands(MainController& controller, ErrorDisplay& errors,
                                         std::unique_ptr<RecentPrograms> recent, QWidget& window)
    : QObject(&window), controller_(controller), errors_(errors), recent_(std::move(recent)), window_(window) {}

ProgramFileCommands::~ProgramFileCommands() = default;

QString ProgramFileCommands::fileFilter() {
    return tr("Control programs (*%1)").arg(extension()) + QStringLiteral(";;") + tr("All files (*)");
}

void ProgramFileCommands::openWithDialog() {
    const QString path = QFileDialog::getOpenFileName(&window_, tr("Open Program"), lastFolder_, fileFilter());
    if (!path.isEmpty())
        open(path);
}

void ProgramFileCommands::saveAsWithDialog() {
    QString path = QFileDialog::getSaveFileName(&window_, tr("Save Program As"), lastFolder_, fileFilter());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += extension();
    save(path);
}

bool ProgramFileCommands::open(const QString& path) {
    const ProgramFileOpened opened = controller_.OpenProgramFile(localPath(path));
    if (opened.problem) {
        if (opened.problem->kind == ProgramFileIssueKind::Unreadable)
            recent_->remove(path);
        ShowStandardError(errors_, &window_, ProgramFileMessage(*opened.problem, path));
        return false;
    }
    title_ = QString::fromStdString(opened.title);
    note_ = QString::fromStdString(opened.note);
    lastFolder_ = QFileInfo(path).absolutePath();
    recent_->add(path);
    if (!opened.notices.empty()) {
        QStringList lines;
        for (const ProgramFileIssue& notice : opened.notices)
            lines.append(ProgramFileMessage(notice, path));
        errors_.show(&window_, QCoreApplication::applicationName(), lines.join(QLatin1Char('\n')),
                     ErrorDisplay::Icon::Stop, false);
    }
    return true;
}

bool ProgramFileCommands::save(const QString& path) {
    const std::optional<ProgramFileIssue> problem =
        controller_.SaveProgramFile(localPath(path), title_.toStdString(), note_.toStdString());
    if (problem) {
        ShowStandardError(errors_, &window_, ProgramFileMessage(*problem, path));
        return false;
    }
    lastFolder_ = QFileInfo(path).absolutePath();
    recent_->add(path);
    return true;
}

void ProgramFileCommands::fillRecentMenu(QMenu& menu) {
    recent_->fillMenu(menu, [this](const QString& path) { open(path); });
}

void ProgramFileCommands::acceptDrops() {
    window_.setAcceptDrops(true);
    window_.installEventFilter(this);
}

QStringList ProgramFileCommands::droppedProgramFiles(const QMimeData& data) {
    QStringList files;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(extension(), Qt::CaseInsensitive))
            files.append(url.toLocalFile());
    }
    return files;
}

bool ProgramFileCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData() == nullptr || droppedProgramFiles(*drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = drop->mimeData() != nullptr ? droppedProgramFiles(*drop->mimeData()) : QStringList();
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        // One control program at a time: the first file dropped. Opened after the drop has ended,
        // so a message box does not keep the dragging program waiting.
        QMetaObject::invokeMethod(
            this, [this, file = files.first()] { open(file); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}

} // namespace trv
