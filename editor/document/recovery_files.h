#pragma once
// Where recovery files live and who owns them. Each running Vantor writes its own file,
// <state folder>/recovery/<start time>-<pid>.vantor-recovery, beside a lock it holds while it runs,
// so two Vantors never share one, and a file whose lock is stale was left by one that died.

#include "document/recovery_file.h"

#include <QLockFile>
#include <QObject>
#include <QThread>

#include <memory>
#include <vector>

namespace vantor {

// $XDG_STATE_HOME/vantor, or ~/.local/state/vantor when that is unset or not absolute.
QString StateFolder();
QString RecoveryFolder();

// A recovery file left by a Vantor that no longer runs. Its lock is held by this process from the
// moment it is found, so two Vantors starting together never both offer it.
class LeftRecovery {
public:
    LeftRecovery(QString path, std::unique_ptr<QLockFile> lock);

    const QString &path() const { return path_; }
    // The snapshot, or nothing when the file is damaged, cut short or not a recovery file.
    std::optional<RecoverySnapshot> read() const;
    // Moves a damaged file aside as NAME.damaged; returns where it went.
    QString moveAside();
    // Leaves the file to be offered again at the next start.
    void release();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// The recovery files whose owners no longer run, the newest first.
std::vector<LeftRecovery> FindLeftRecoveries();

// Writes this process's recovery file on a thread of its own, in the order asked, so that the
// interface never waits for the disk. A clean end (the destructor) removes the file.
class RecoveryWriter : public QObject {
    Q_OBJECT
public:
    RecoveryWriter();
    ~RecoveryWriter() override;

    const QString &path() const { return path_; }
    // Writes snapshot atomically in place of the last one.
    void write(RecoverySnapshot snapshot);
    // Removes the file: nothing is left unsaved.
    void remove();
    // Removes a recovered file left by another process once the writes asked for so far are done,
    // so that its content is never without a copy on disk.
    void removeLeft(LeftRecovery left);
    // Returns once everything asked for so far is done.
    void finishWrites();

signals:
    // A write failed; message names the file and the reason. Emitted from the writing thread.
    void writeFailed(const QString &message);

private:
    void run(std::function<void()> work);
    bool lockOnce();

    QString path_;
    QLockFile lock_;
    bool locked_ = false;
    QThread thread_;
    QObject *worker_ = nullptr; // lives on thread_
};

} // namespace vantor
