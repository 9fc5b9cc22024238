#include "recovery_files.h"

#include "files/file_io.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

namespace vantor {

namespace {

const QString Extension = QStringLiteral(".vantor-recovery");

QString LockPathOf(const QString &path) { return path + QStringLiteral(".lock"); }

// Owner-only, as the XDG base directory rules ask of a state folder.
bool MakeFolder(const QString &path)
{
    if (QDir(path).exists())
        return true;
    QDir parent = QFileInfo(path).dir();
    return parent.mkpath(QStringLiteral(".")) &&
           parent.mkdir(QFileInfo(path).fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

QString StateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base) + QStringLiteral("/vantor");
}

QString RecoveryFolder() { return StateFolder() + QStringLiteral("/recovery"); }

LeftRecovery::LeftRecovery(QString path, std::unique_ptr<QLockFile> lock)
    : path_(std::move(path))
    , lock_(std::move(lock))
{
}

std::optional<RecoverySnapshot> LeftRecovery::read() const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return DecodeRecovery(file.readAll());
}

QString LeftRecovery::moveAside()
{
    const QString aside = path_ + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path_, aside);
    release();
    return aside;
}

void LeftRecovery::release()
{
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

std::vector<LeftRecovery> FindLeftRecoveries()
{
    std::vector<LeftRecovery> found;
    const QDir folder(RecoveryFolder());
    const QStringList names = folder.entryList({QStringLiteral("*") + Extension}, QDir::Files, QDir::Time);
    for (const QString &name : names) {
        const QString path = folder.filePath(name);
        auto lock = std::make_unique<QLockFile>(LockPathOf(path));
        // A lock is stale only when its process is gone, never by its age.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            found.emplace_back(path, std::move(lock));
    }
    return found;
}

RecoveryWriter::RecoveryWriter()
    : path_(RecoveryFolder() + QLatin1Char('/') +
            QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")) + QLatin1Char('-') +
            QString::number(QCoreApplication::applicationPid()) + Extension)
    , lock_(LockPathOf(path_))
    , worker_(new QObject)
{
    lock_.setStaleLockTime(0);
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

RecoveryWriter::~RecoveryWriter()
{
    remove();
    finishWrites();
    thread_.quit();
    thread_.wait();
}

void RecoveryWriter::run(std::function<void()> work)
{
    QMetaObject::invokeMethod(worker_, std::move(work), Qt::QueuedConnection);
}

// The lock is taken before the first write, so that a Vantor that never has unsaved work leaves
// nothing in the state folder.
bool RecoveryWriter::lockOnce()
{
    if (!locked_)
        locked_ = MakeFolder(StateFolder()) && MakeFolder(RecoveryFolder()) && lock_.tryLock(0);
    return locked_;
}

void RecoveryWriter::write(RecoverySnapshot snapshot)
{
    run([this, snapshot = std::move(snapshot)] {
        if (!lockOnce()) {
            emit writeFailed(CannotWriteMessage(path_, QStringLiteral("the folder cannot be written")));
            return;
        }
        if (const QString error = WriteFileAtomically(path_, EncodeRecovery(snapshot)); !error.isEmpty())
            emit writeFailed(error);
    });
}

void RecoveryWriter::remove()
{
    run([this] {
        QFile::remove(path_);
        if (locked_)
            lock_.unlock();
        locked_ = false;
    });
}

void RecoveryWriter::removeLeft(LeftRecovery left)
{
    auto shared = std::make_shared<LeftRecovery>(std::move(left));
    run([shared] {
        QFile::remove(shared->path());
        shared->release();
    });
}

void RecoveryWriter::finishWrites()
{
    QMetaObject::invokeMethod(worker_, [] {}, Qt::BlockingQueuedConnection);
}

} // namespace vantor
