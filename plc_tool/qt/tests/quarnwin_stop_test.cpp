// quarnwin ended by SIGTERM while it holds plcsim's port: it closes in order (its settings
// written, the port's exclusive use and old line settings given back), so an ordinary user's
// quarnctl reaches the PLC right after. Root passes a tty's exclusive flag, so the simulator
// and quarnctl run as "nobody".
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "testsupport/process.h"

namespace {

constexpr const char* kSetpriv = "/usr/bin/setpriv";
const std::vector<std::string> kAsNobody = {"--reuid=nobody", "--regid=nogroup", "--clear-groups"};

std::vector<std::string> AsNobody(const char* program, std::vector<std::string> args) {
    std::vector<std::string> all = kAsNobody;
    all.push_back(program);
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

// True while another program holds the port's advisory lock, as every tool of the suite
// takes it on open.
bool PortHeld(const std::string& link) {
    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

}  // namespace

class QuarnWinStopTest : public QObject {
    Q_OBJECT
  private slots:
    void sigtermClosesInOrderAndFreesThePort() {
        if (::geteuid() != 0) QSKIP("needs root to run the simulator as another user");
        QTemporaryDir folder;
        QTemporaryDir config;
        QVERIFY(folder.isValid() && config.isValid());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::WriteOther | QFile::ExeOther);
        const std::string link = folder.filePath("plc").toStdString();
        testsupport::BackgroundProcess plc(kSetpriv, AsNobody(PLCSIM_PATH, {"--link", link}), link);
        QVERIFY(plc.running());

        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        auto quarnwin = std::make_unique<testsupport::BackgroundProcess>(
            QUARNWIN_PATH, std::vector<std::string>{"--port", link, "-platform", "offscreen"},
            std::string(), true);
        QTRY_VERIFY_WITH_TIMEOUT(PortHeld(link), 10000);

        QCOMPARE(quarnwin->stop(SIGTERM), 143);
        QVERIFY(QString::fromStdString(quarnwin->errors()).contains("Stopped by SIGTERM"));
        QVERIFY(QFile::exists(config.filePath("Hadrel/QuarnWin.conf")));

        const testsupport::RunResult identify =
            testsupport::Run(kSetpriv, AsNobody(QUARNCTL_PATH, {"--port", link, "identify"}));
        QVERIFY2(identify.exitStatus == 0, (identify.out + identify.err).c_str());
    }
};

QTEST_GUILESS_MAIN(QuarnWinStopTest)
#include "quarnwin_stop_test.moc"
