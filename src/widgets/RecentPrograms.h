#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMenu;
class QSettings;

namespace trv {

// The program files opened or saved last, newest first, at most eight; kept in the user's
// configuration folder (QSettings, not trv.cff), so they outlive the run.
class RecentPrograms {
    Q_DECLARE_TR_FUNCTIONS(RecentPrograms)
public:
    static constexpr int MaxFiles = 8;

    // The user's settings: <config folder>/trv/trv.conf, group RecentPrograms.
    RecentPrograms();
    // Kept in the given settings instead (tests).
    explicit RecentPrograms(std::unique_ptr<QSettings> settings);
    ~RecentPrograms();
    RecentPrograms(const RecentPrograms&) = delete;
    RecentPrograms& operator=(const RecentPrograms&) = delete;

    QStringList files() const;
    // Puts a file first (by its absolute path), dropping an earlier entry for it and the oldest beyond eight.
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

    // Fills an "Open Recent" menu anew: one action per file, newest first, each calling open with
    // its path, then "Clear Menu"; without files one disabled line. Call it from the menu's aboutToShow.
    void fillMenu(QMenu& menu, const std::function<void(const QString& path)>& open);

private:
    void store(const QStringList& files);

    std::unique_ptr<QSettings> settings_;
};

} // namespace trv
