#pragma once

// What the recovery tests share: a fixture whose recovery store is empty before and after
// each test, the copies found on disk, a child editor's first copy, and a limit on the size
// of the files this process writes (a disk without room, without mounting one).
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

#include "document/recoverystore.h"
#include "shellfixture.h"

// The copies' descriptions under `root` (session folder / key.json), sorted.
inline QStringList copiesUnder(const QString& root) {
    QStringList copies;
    QDirIterator it(root, {QStringLiteral("*.json")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        copies << it.next();
    copies.sort();
    return copies;
}

// Waits up to 20 s for the one copy a started editor writes of its own, outside the session
// folder `earlier` it restored from; returns the copies found when it stopped waiting.
inline QStringList waitForChildCopy(const QString& root, const QString& earlier) {
    QStringList copies;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20'000) {
        copies = copiesUnder(root);
        if (copies.size() == 1 && !copies[0].startsWith(earlier))
            break;
        QTest::qWait(50);
    }
    return copies;
}

class RecoveryShell : public Shell {
protected:
    void SetUp() override {
        Shell::SetUp();
        QCoreApplication::setOrganizationName(
            QStringLiteral("Local AppWizard-Generated Applications"));
        root = RecoveryStore::defaultRoot();
        QDir(root).removeRecursively();
        // The tests answer the offer themselves.
        qunsetenv("RKEDIT_RECOVERY");
    }
    void TearDown() override {
        Shell::TearDown();
        QDir(root).removeRecursively();
        qputenv("RKEDIT_RECOVERY", "discard");
    }
    // For the real editor started as a child process: offscreen, sharing this test's home and
    // recovery store, with settings of its own, answering the recovery offer as its command
    // line says.
    QProcessEnvironment childEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", QDir::homePath());
        env.insert("XDG_CONFIG_HOME", dir.filePath("child-config"));
        env.insert("XDG_DATA_HOME",
                   QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        env.remove("RKEDIT_RECOVERY");
        return env;
    }

    QString root;
};

// Files this process writes are limited to `bytes` while it lives: a write past it fails
// (EFBIG) instead of stopping the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
};
