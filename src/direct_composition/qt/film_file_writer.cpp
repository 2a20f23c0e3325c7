#include "direct_composition/qt/film_file_writer.h"

#include <QDateTime>
#include <QDir>
#include <QIODevice>
#include <QPdfWriter>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantorel::direct_composition {

namespace {

const char* partPrefix = ".film-";
const char* partSuffix = ".part";

std::string systemError(int error)
{
    return std::strerror(error);
}

// The permissions an ordinary new file gets (0666 less the umask): mkstemps
// makes its file private to the owner, a film is not.
mode_t ordinaryFileMode()
{
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// A file descriptor as a QIODevice whose every write is checked: the first
// failing write is remembered (errno) and every later write fails too, so a
// PDF with a hole in it can never pass for a complete one.
class CheckedFile final : public QIODevice {
public:
    explicit CheckedFile(int fd) : fd_(fd) {}
    ~CheckedFile() override
    {
        if (fd_ >= 0)
            ::close(fd_);
    }

    int failure() const { return errno_; }

    // Flushes the file to disk and closes it, both checked.
    [[nodiscard]] bool finish()
    {
        if (errno_ == 0 && ::fsync(fd_) != 0)
            errno_ = errno;
        if (::close(fd_) != 0 && errno_ == 0)
            errno_ = errno;
        fd_ = -1;
        QIODevice::close();
        return errno_ == 0;
    }

    [[nodiscard]] bool seek(qint64 pos) override
    {
        if (errno_ != 0)
            return false;
        if (::lseek(fd_, pos, SEEK_SET) < 0) {
            errno_ = errno;
            return false;
        }
        return QIODevice::seek(pos);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 length) override
    {
        if (errno_ != 0)
            return -1;
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(length - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                errno_ = n < 0 ? errno : EIO;
                return -1;
            }
            done += n;
        }
        return length;
    }

private:
    int fd_;
    int errno_ = 0;
};

// Gives the complete file its film name without replacing any file; the
// first free of stem.pdf, stem-1.pdf, ... Returns the path, or a Failure
// with the system's reason.
base::Result<std::string> publish(const QByteArray& part, const QString& folder, const QString& stem)
{
    for (int suffix = 0; suffix < 100000; ++suffix) {
        const QString name =
            suffix == 0 ? stem + QStringLiteral(".pdf") : stem + QStringLiteral("-%1.pdf").arg(suffix);
        const QByteArray target = QFile::encodeName(folder + '/' + name);
        if (::renameat2(AT_FDCWD, part.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
            return target.toStdString();
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return base::Failure{systemError(errno)};
        // A file system without the no-replace rename: a hard link cannot
        // replace either.
        if (::link(part.constData(), target.constData()) == 0) {
            ::unlink(part.constData());
            return target.toStdString();
        }
        if (errno == EEXIST)
            continue;
        return base::Failure{systemError(errno)};
    }
    return base::Failure{"no free file name"};
}

}  // namespace

base::Result<std::string> writeFilmFileBytes(const QString& folder, const QString& stem,
                                             const std::function<bool(QIODevice&)>& write)
{
    if (!QDir().mkpath(folder)) {
        const QByteArray path = QFile::encodeName(folder);
        struct stat info;
        return base::Failure{::stat(path.constData(), &info) == 0 ? systemError(ENOTDIR)
                                                                  : systemError(errno)};
    }
    QByteArray part = QFile::encodeName(folder + '/' + partPrefix + QString::number(::getpid()) +
                                        QStringLiteral("-XXXXXX") + partSuffix);
    const int fd = ::mkstemps(part.data(), static_cast<int>(std::strlen(partSuffix)));
    if (fd < 0)
        return base::Failure{systemError(errno)};
    CheckedFile file(fd);
    file.open(QIODevice::WriteOnly);
    ::fchmod(fd, ordinaryFileMode());
    const bool painted = write(file);
    const bool finished = file.finish();
    if (!finished || !painted) {
        ::unlink(part.constData());
        return base::Failure{!finished ? systemError(file.failure()) : "the page could not be drawn"};
    }
    base::Result<std::string> published = publish(part, folder, stem);
    if (!published)
        ::unlink(part.constData());
    return published;
}

base::Result<std::string> writeFilmFile(const QString& folder, const QString& stem,
                                        const std::function<bool(QPdfWriter&)>& paint)
{
    return writeFilmFileBytes(folder, stem, [&paint](QIODevice& file) {
        QPdfWriter writer(&file);
        return paint(writer);
    });  // the writer finishes the PDF as it goes out of scope, before the file is closed
}

QString filmFileFolder(const std::string& homeFolder)
{
    return QString::fromStdString(homeFolder) + QStringLiteral("/FilmFile");
}

base::Result<std::string> writeFilmFileNow(const std::string& homeFolder,
                                           const std::function<bool(QPdfWriter&)>& paint)
{
    const QString stem = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return writeFilmFile(filmFileFolder(homeFolder), stem, paint);
}

base::Result<std::string> writeFilmFileBytesNow(const std::string& homeFolder,
                                                const std::function<bool(QIODevice&)>& write)
{
    const QString stem = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return writeFilmFileBytes(filmFileFolder(homeFolder), stem, write);
}

int removeAbandonedFilmFiles(const QString& folder)
{
    static const QRegularExpression name(QStringLiteral("^\\.film-(\\d+)-.{6}\\.part$"));
    int removed = 0;
    const QStringList files =
        QDir(folder).entryList({QStringLiteral(".film-*.part")}, QDir::Files | QDir::Hidden);
    for (const QString& file : files) {
        const auto match = name.match(file);
        if (!match.hasMatch())
            continue;
        const pid_t pid = static_cast<pid_t>(match.captured(1).toLong());
        const bool running = pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM;
        if (!running && QFile::remove(folder + '/' + file))
            ++removed;
    }
    return removed;
}

}  // namespace vantorel::direct_composition
