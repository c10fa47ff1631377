// What kvelmor-export trusts in a folder that others may write into: nothing it did not write
// itself. Leftovers planted by another user, or copied along with a folder, are neither read nor
// removed; a killed export's own new files go, but nothing it left is replayed; two exports into
// one folder follow one another under the folder's lock, which is never waited for without end;
// and a removal that fails is reported. Runs as root (as CI does), giving files to other users.
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>

#include "exportprocess.h"

using namespace exporttest;

namespace {

constexpr int kOther = 65534;  // "nobody": another user of a shared folder
constexpr int kPupil = 4242;   // an ordinary user who runs the export itself
const QStringList kOtherSetting{"--frequency", "nizky", "--distance", "300"};

QByteArray bytesOf(const QString& path)
{
    return QFile::encodeName(path);
}

bool setOwner(const QString& path, int id)
{
    return ::lchown(bytesOf(path).constData(), uid_t(id), gid_t(id)) == 0;
}

// A folder `name` in `work` with `mode`, belonging to `owner`.
QString sharedFolder(const QTemporaryDir& work, const QString& name, int mode, int owner)
{
    const QString dir = work.filePath(name);
    QDir().mkpath(dir);
    ::chmod(bytesOf(dir).constData(), mode_t(mode));
    setOwner(dir, owner);
    return dir;
}

// The entries of `files` whose names start with `prefix`, or with `keep` false, all others.
std::map<QByteArray, QByteArray> startingWith(std::map<QByteArray, QByteArray> files,
                                              const char* prefix, bool keep = true)
{
    std::erase_if(files, [&](const auto& file) { return file.first.startsWith(prefix) != keep; });
    return files;
}

// Plants one entry in `dir`: "TYPE OWNER COUNT NAME FATE", TYPE file, link, fifo or folder, OWNER
// own (the exporting user's) or other, COUNT copies whose NAME holds %1 (five digits), FATE goes
// or stays. A file holds what a record of a unit would: names that lead out of the folder. A link
// leads to the victim beside the folder. Returns the names and their fates.
std::map<QByteArray, bool> plant(const QString& dir, const QString& planting, int exporter)
{
    const QStringList part = planting.split(' ');
    std::map<QByteArray, bool> fates;
    for (int n = 0; n < part[2].toInt(); ++n) {
        const QString name =
            QString(part[3]).replace("%1", QString::number(n).rightJustified(5, '0'));
        const QString path = dir + '/' + name;
        const QByteArray bytes = bytesOf(path);
        if (part[0] == "file") {
            writeFile(path,
                      ".kvelmor-0.6-350.csv.new-BBBBBB\n.kvelmor-/../../victim/secret.csv."
                      "new-EEEEEE\n.kvelmor-0.6-350.png.new-DDDDDD\nend\n");
        } else if (part[0] == "link") {
            QFile::link("../victim/secret.csv", path);
        } else if (part[0] == "fifo") {
            ::mkfifo(bytes.constData(), 0666);
        } else {
            QDir().mkpath(path);
        }
        setOwner(path, part[1] == "own" ? exporter : kOther);
        fates[QFile::encodeName(name)] = part[4] == "goes";
    }
    return fates;
}

}  // namespace

class TestExportTrust : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void plantedLeftoversSteerNothing_data();
    void plantedLeftoversSteerNothing();
    void liveExportsFilesStay_data();
    void liveExportsFilesStay();
    void twoExportsOfOneSettingFollowOneAnother();
    void aLockHeldForGoodEndsTheWait_data();
    void aLockHeldForGoodEndsTheWait();
    void killedExportIsNotReplayed_data();
    void killedExportIsNotReplayed();
    void killedCleanUpIsSafeToRepeat();
    void failedRemovalIsReportedAndHarmless_data();
    void failedRemovalIsReportedAndHarmless();
    void olderFileNamedInAMessageIsKept();

private:
    QTemporaryDir work;
    std::map<QByteArray, QByteArray> older, newer, czech, english;  // sets of 0.6/350
};

void TestExportTrust::initTestCase()
{
    ::unsetenv("LANGUAGE");
    QVERIFY(work.isValid());
    QVERIFY(writeOlderSet(work.filePath("older")));
    older = snapshot(work.filePath("older"));
    for (auto [set, language] : {std::pair{&newer, ""}, {&czech, "cs"}, {&english, "en"}}) {
        const QString dir = work.filePath(QStringLiteral("newer-") + language);
        const QStringList lang = *language ? QStringList{"--lang", language} : QStringList{};
        const Result r = exportTool(kSetting + lang + QStringList{"--out", dir});
        QVERIFY2(r.status == 0, r.err);
        *set = snapshot(dir);
        QCOMPARE(int(set->size()), 5);
    }
    QVERIFY(czech != english);
}

// Another setting is exported into a shared folder in which leftovers lie: planted by another
// user, or of the exporting user's own (copied along, or of killed exports). Only the exporting
// user's own regular new files of the export's name grammar go; nothing else in the folder, and
// nothing outside it, changes; and the export ends soon, however many there are.
void TestExportTrust::plantedLeftoversSteerNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("exporter");  // 0: root, as the test runs
    QTest::addColumn<QStringList>("planted");
    const QStringList steering{"file other 1 .kvelmor-0.6-350.csv.unit-AAAAAA stays",
                               "file other 1 .kvelmor-0.6-350.csv.new-BBBBBB stays",
                               "file other 1 .kvelmor-0.6-350.png.new-DDDDDD stays",
                               "file other 1 .kvelmor-0.6-350.csv.old-CCCCCC stays",
                               "folder other 1 kvelmor- stays"};
    QTest::newRow("another's record, in a sticky folder") << 01777 << 0 << steering;
    QTest::newRow("another's record, exported by a pupil") << 01777 << kPupil << steering;
    QTest::newRow("another's files, in a drop box")
        << 01733 << 0
        << QStringList{"file other 1 .kvelmor-0.03-300.png.new-XXXXXX stays",
                       "file other 1 .kvelmor-0.03-300.csv.old-YYYYYY stays"};
    QTest::newRow("own link, FIFO and folder under hidden names")
        << 0755 << 0
        << QStringList{"link own 1 .kvelmor-0.6-350.csv.new-LINKED stays",
                       "link own 1 .kvelmor-0.6-350.csv.old-LINKED stays",
                       "fifo own 1 .kvelmor-0.6-350.png.new-FIFO01 stays",
                       "fifo own 1 .kvelmor-0.6-350.png.old-FIFO01 stays",
                       "folder own 1 .kvelmor-0.6-350.svg.new-FOLDER stays"};
    QTest::newRow("own files, of the grammar and not")
        << 0755 << 0
        << QStringList{"file own 1 .kvelmor-0.6-350.csv.new-ABCDEF goes",
                       "file own 1 .kvelmor-5-400-plot.png.new-ABCDEF goes",
                       "file own 1 .kvelmor-5-400-step-7-paths-inf.png.new-ABCDEF goes",
                       "file own 1 .kvelmor-5-400-step-7-paths-20.csv.new-ABCDEF goes",
                       "file own 1 .kvelmor-5-400-step-..-paths-20.csv.new-ABCDEF stays",
                       "file own 1 .kvelmor-0.6-350.csv.new-ABCDEFG stays",
                       "file own 1 .kvelmor-0.6-350.csv.new-ABCDE stays",
                       "file own 1 .kvelmor-..-350.csv.new-ABCDEF stays",
                       "file own 1 .kvelmor-0.6-350.txt.new-ABCDEF stays",
                       "file own 1 .kvelmor-0.6-350.csv.unit-ABCDEF stays",
                       "file own 1 .kvelmor-0.6-350.csv.old-ABCDEF stays",
                       "file own 1 kvelmor-0.6-350.csv.new-ABCDEF stays"};
    QTest::newRow("a thousand of another's records and new files")
        << 01777 << 0
        << QStringList{"file other 1000 .kvelmor-0.6-350.csv.unit-A%1 stays",
                       "file other 1000 .kvelmor-0.6-350.png.new-B%1 stays"};
    QTest::newRow("a thousand own new files of killed exports")
        << 0755 << 0 << QStringList{"file own 1000 .kvelmor-0.6-350.svg.new-C%1 goes"};
}

void TestExportTrust::plantedLeftoversSteerNothing()
{
    QFETCH(int, mode);
    QFETCH(int, exporter);
    QFETCH(QStringList, planted);
    if (::geteuid() != 0) QSKIP("giving files to other users needs root");
    QTemporaryDir dir;
    QVERIFY(::chmod(bytesOf(dir.path()).constData(), 0755) == 0);
    const QString folder = sharedFolder(dir, "shared", mode, exporter);
    QVERIFY(writeOlderSet(folder));
    for (const auto& [name, bytes] : older) QVERIFY(setOwner(folder + '/' + name, exporter));
    QVERIFY(QDir().mkpath(dir.filePath("victim")));
    QVERIFY(writeFile(dir.filePath("victim/secret.csv"), "the victim's own numbers"));
    std::map<QByteArray, bool> fates;
    for (const QString& planting : planted) fates.merge(plant(folder, planting, exporter));
    const auto before = snapshot(folder), victim = snapshot(dir.filePath("victim"));
    for (const auto& [name, goes] : fates) QVERIFY2(before.count(name), "not planted: " + name);

    QElapsedTimer clock;
    clock.start();
    const Result r = exportTool(kOtherSetting + QStringList{"--out", folder}, {},
                                exporter ? asUser(exporter) : QString());
    QVERIFY2(r.status == 0, r.err);
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed()) + " ms"));
    const auto after = snapshot(folder);
    QCOMPARE(int(startingWith(after, "kvelmor-0.03-300").size()), 5);
    auto expected = before;
    std::erase_if(expected, [&](const auto& file) { return fates[file.first]; });
    QVERIFY2(startingWith(after, "kvelmor-0.03-300", false) == expected,
             "the folder's other entries changed");
    QVERIFY(snapshot(dir.filePath("victim")) == victim);
    struct stat st;
    QVERIFY(::stat(bytesOf(folder + "/kvelmor-0.6-350.csv").constData(), &st) == 0);
    QCOMPARE(int(st.st_uid), exporter);
}

// An export paused while it writes its new files (so holding no lock on the folder) keeps them
// while another export, of another setting, runs in the folder: the same user's files because
// they are locked, another user's because they are not the exporting user's. Then it finishes.
void TestExportTrust::liveExportsFilesStay_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("writer");  // who runs the paused export; 0: root, as the test runs
    QTest::newRow("the same user's, in an own folder") << 0755 << 0;
    QTest::newRow("another user's, in a sticky folder") << 01777 << kOther;
    QTest::newRow("a pupil's, in a drop box") << 01733 << kPupil;
}

void TestExportTrust::liveExportsFilesStay()
{
    QFETCH(int, mode);
    QFETCH(int, writer);
    if (::geteuid() != 0) QSKIP("running an export as another user needs root");
    QTemporaryDir dir;
    QVERIFY(::chmod(bytesOf(dir.path()).constData(), 0755) == 0);
    const QString folder = sharedFolder(dir, "shared", mode, 0);
    QProcess paused;
    startExport(paused, kSetting + QStringList{"--out", folder},
                withShim({QStringLiteral("KVELMOR_SIGNAL_AT_FSYNC=3:%1").arg(SIGSTOP)}),
                writer ? asUser(writer) : QString());
    QVERIFY(paused.waitForStarted() && waitForStop(paused.processId()));
    const auto live = snapshot(folder);
    QCOMPARE(countNames(live, ".new-"), 3);

    const Result other = exportTool(kOtherSetting + QStringList{"--out", folder});
    QVERIFY2(other.status == 0, other.err);
    auto after = snapshot(folder);
    for (const auto& [name, bytes] : live)
        QVERIFY2(after.count(name) && after[name] == bytes, name);
    kill(paused.processId(), SIGCONT);
    const Result r = ended(paused);
    QVERIFY2(r.status == 0, r.err);
    after = snapshot(folder);
    QVERIFY(startingWith(after, "kvelmor-0.6-350") == newer);
    QCOMPARE(int(after.size()), 10);
}

// Two exports of one setting into one folder, one Czech, one English: the English one, started
// while the Czech one is paused with its names changing hands, finds the folder locked (the shim
// then stops it), waits, and only then replaces the set, whole. Without the lock the English
// export would run through while the Czech one is paused, which then would finish over it.
void TestExportTrust::twoExportsOfOneSettingFollowOneAnother()
{
    QTemporaryDir dir;
    QVERIFY(writeOlderSet(dir.path()));
    QProcess first, second;
    startExport(first, kSetting + QStringList{"--lang", "cs", "--out", dir.path()},
                withShim({QStringLiteral("KVELMOR_SIGNAL_AT_RENAME=3:%1").arg(SIGSTOP)}));
    QVERIFY(first.waitForStarted() && waitForStop(first.processId()));
    startExport(second, kSetting + QStringList{"--lang", "en", "--out", dir.path()},
                withShim({"KVELMOR_STOP_WHEN_LOCKED=1"}));
    QVERIFY2(second.waitForStarted() && waitForStop(second.processId()),
             "the second export did not find the folder locked");

    kill(first.processId(), SIGCONT);
    Result r = ended(first);
    QVERIFY2(r.status == 0, r.err);
    QVERIFY(startingWith(snapshot(dir.path()), "kvelmor-") == czech);
    kill(second.processId(), SIGCONT);
    r = ended(second);
    QVERIFY2(r.status == 0, r.err);
    QVERIFY(snapshot(dir.path()) == english);
}

// A lock on the folder held for good (an export stopped while its names change hands, or any
// program of another user who may read the folder) is waited for ten seconds, then the export
// says so, with status 1, and leaves the folder as it found it.
void TestExportTrust::aLockHeldForGoodEndsTheWait_data()
{
    QTest::addColumn<QString>("holder");
    QTest::newRow("an export stopped mid-unit") << "export";
    QTest::newRow("flock(1) of another user") << "flock";
}

void TestExportTrust::aLockHeldForGoodEndsTheWait()
{
    QFETCH(QString, holder);
    if (holder == "flock" && ::geteuid() != 0) QSKIP("running as another user needs root");
    QTemporaryDir dir;
    QVERIFY(::chmod(bytesOf(dir.path()).constData(), 0755) == 0);
    QVERIFY(writeOlderSet(dir.path()));
    QProcess holding;
    if (holder == "export") {
        startExport(holding, kSetting + QStringList{"--lang", "cs", "--out", dir.path()},
                    withShim({QStringLiteral("KVELMOR_SIGNAL_AT_RENAME=3:%1").arg(SIGSTOP)}));
        QVERIFY(holding.waitForStarted() && waitForStop(holding.processId()));
    } else {
        holding.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "flock",
                                  dir.path(), "sleep", "600"});
        QVERIFY(holding.waitForStarted());
        const int folder = ::open(bytesOf(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
        QDeadlineTimer deadline(60000);
        while (::flock(folder, LOCK_EX | LOCK_NB) == 0 && !deadline.hasExpired()) {
            ::flock(folder, LOCK_UN);
            QThread::msleep(10);
        }
        ::close(folder);
        QVERIFY2(!deadline.hasExpired(), "flock(1) did not take the lock");
    }
    const auto before = snapshot(dir.path());
    QElapsedTimer clock;
    clock.start();
    QProcess waiting;
    startExport(waiting, kSetting + QStringList{"--lang", "en", "--out", dir.path()});
    const Result r = ended(waiting, 60000);
    const qint64 waited = clock.elapsed();
    holding.kill();
    holding.waitForFinished();
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err, "kvelmor-export: cannot write into " + bytesOf(dir.path()) +
                        ": another program has kept the folder locked for 10 s (the setting's "
                        "files are as they were)\n");
    QVERIFY2(waited >= 10000 && waited < 40000, qPrintable(QString::number(waited) + " ms"));
    QVERIFY2(snapshot(dir.path()) == before, "the folder changed");
}

// An export killed outright at any rename of its unit: every name still holds a whole file,
// older or new, or (set aside at that instant) none, its older file kept hidden. The next export
// into the folder, of another setting, removes the killed one's new files and changes nothing
// else: it puts nothing back. The next export of the setting writes it whole again, and the one
// after that, of another setting, leaves it so.
void TestExportTrust::killedExportIsNotReplayed_data()
{
    QTest::addColumn<int>("atRename");
    QTest::addColumn<bool>("hasOlderSet");
    for (int n = 1; n <= 10; ++n) QTest::addRow("rename %d", n) << n << true;
    QTest::newRow("no older set, rename 3") << 3 << false;
}

void TestExportTrust::killedExportIsNotReplayed()
{
    QFETCH(int, atRename);
    QFETCH(bool, hasOlderSet);
    QTemporaryDir dir;
    if (hasOlderSet) QVERIFY(writeOlderSet(dir.path()));
    const QStringList killedAt{
        QStringLiteral("KVELMOR_SIGNAL_AT_RENAME=%1:%2").arg(atRename).arg(SIGKILL)};
    QCOMPARE(exportInto(dir.path(), withShim(killedAt)).status, -1);
    const auto killed = snapshot(dir.path());
    for (const char* suffix : kSuffixes) {
        const QByteArray name = QByteArray("kvelmor-0.6-350") + suffix;
        const auto aside = startingWith(killed, "." + name + ".old-");
        if (killed.count(name)) {
            QVERIFY2(killed.at(name) == newer.at(name) || killed.at(name) == older[name], name);
        } else if (hasOlderSet) {
            QCOMPARE(int(aside.size()), 1);
            QCOMPARE(aside.begin()->second, older.at(name));
        }
    }
    const QStringList otherInto = kOtherSetting + QStringList{"--out", dir.path()};
    QCOMPARE(exportTool(otherInto).status, 0);
    auto expected = killed;
    std::erase_if(expected, [](const auto& file) { return file.first.contains(".new-"); });
    QVERIFY2(startingWith(snapshot(dir.path()), "kvelmor-0.03-300", false) == expected,
             "more than the killed export's new files changed");

    QCOMPARE(exportInto(dir.path()).status, 0);
    QCOMPARE(exportTool(otherInto).status, 0);
    const auto after = snapshot(dir.path());
    QVERIFY(startingWith(after, "kvelmor-0.6-350") == newer);
    QVERIFY(startingWith(after, ".") == startingWith(expected, "."));
}

// An export killed while it removes what a killed export left: the next one removes the rest.
void TestExportTrust::killedCleanUpIsSafeToRepeat()
{
    QTemporaryDir dir;
    QVERIFY(writeOlderSet(dir.path()));
    const QStringList otherInto = kOtherSetting + QStringList{"--out", dir.path()};
    QCOMPARE(exportInto(dir.path(),
                        withShim({QStringLiteral("KVELMOR_SIGNAL_AT_FSYNC=5:%1").arg(SIGKILL)}))
                 .status,
             -1);
    QCOMPARE(countNames(snapshot(dir.path()), ".new-"), 5);
    QCOMPARE(exportTool(otherInto,
                        withShim({QStringLiteral("KVELMOR_SIGNAL_AT_UNLINK=3:%1").arg(SIGKILL)}))
                 .status,
             -1);
    QCOMPARE(countNames(snapshot(dir.path()), ".new-"), 3);
    QCOMPARE(exportTool(otherInto).status, 0);
    const auto after = snapshot(dir.path());
    QVERIFY(startingWith(after, "kvelmor-0.6-350") == older);
    QCOMPARE(int(after.size()), 10);
}

// The older file of one name cannot be removed once the unit is complete (EIO, ENOSPC, EPERM):
// status 1 and a message naming it, the new set in place, and the older file left where it is,
// which no later export reads, replays or removes.
void TestExportTrust::failedRemovalIsReportedAndHarmless_data()
{
    QTest::addColumn<int>("removal");  // of the five older files, in their order
    QTest::addColumn<int>("error");
    QTest::newRow("the PNG's, EIO") << 1 << EIO;
    QTest::newRow("the CSV's, ENOSPC") << 3 << ENOSPC;
    QTest::newRow("the plot PNG's, EPERM") << 5 << EPERM;
}

void TestExportTrust::failedRemovalIsReportedAndHarmless()
{
    QFETCH(int, removal);
    QFETCH(int, error);
    QTemporaryDir dir;
    QVERIFY(writeOlderSet(dir.path()));
    const QByteArray name = QByteArray("kvelmor-0.6-350") + kSuffixes[removal - 1];
    const Result r =
        exportInto(dir.path(),
                   withShim({QStringLiteral("KVELMOR_FAIL_UNLINK=%1:%2").arg(removal).arg(error)}));
    QCOMPARE(r.status, 1);
    const QByteArray path = bytesOf(dir.path()) + '/';
    QVERIFY2(r.err.startsWith("kvelmor-export: " + path + name +
                              " is replaced, but the older file set aside as " + path + '.' + name +
                              ".old-") &&
                 r.err.endsWith(": " + englishReason(error).toUtf8() + "\n") &&
                 r.err.count('\n') == 1,
             r.err);
    const auto kept = startingWith(snapshot(dir.path()), ".");
    QCOMPARE(int(kept.size()), 1);
    QVERIFY(kept.begin()->first.startsWith('.' + name + ".old-"));
    QCOMPARE(kept.begin()->second, older.at(name));
    QVERIFY(startingWith(snapshot(dir.path()), "kvelmor-") == newer);

    QCOMPARE(exportTool(kOtherSetting + QStringList{"--out", dir.path()}).status, 0);
    QCOMPARE(exportTool(kSetting + QStringList{"--lang", "en", "--out", dir.path()}).status, 0);
    const auto after = snapshot(dir.path());
    QVERIFY(startingWith(after, "kvelmor-0.6-350") == english);
    QVERIFY(startingWith(after, ".") == kept);
}

// Two failed renames: the CSV cannot take its name, and while the unit is undone the older SVG
// cannot be put back. The message says where the older SVG is kept, and there it stays: the next
// export into the folder neither removes it nor puts it anywhere.
void TestExportTrust::olderFileNamedInAMessageIsKept()
{
    QTemporaryDir dir;
    QVERIFY(writeOlderSet(dir.path()));
    // Renames 1 to 6 set aside and place the PNG, SVG and CSV; 7 to 9 put back the CSV, the SVG
    // and the PNG.
    const Result r = exportInto(dir.path(), withShim({"KVELMOR_FAIL_RENAME=6:5,8:5"}));
    QCOMPARE(r.status, 1);
    const auto failed = snapshot(dir.path());
    const auto kept = startingWith(failed, ".kvelmor-0.6-350.svg.old-");
    QCOMPARE(int(kept.size()), 1);
    QCOMPARE(kept.begin()->second, older.at("kvelmor-0.6-350.svg"));
    const QByteArray path = bytesOf(dir.path()) + '/';
    QCOMPARE(r.err, "kvelmor-export: cannot replace " + path +
                        "kvelmor-0.6-350.csv: " + englishReason(EIO).toUtf8() + "; " + path +
                        "kvelmor-0.6-350.svg could not be put back, the older file is kept as " +
                        path + kept.begin()->first + "\n");
    QCOMPARE(failed.at("kvelmor-0.6-350.svg"), newer.at("kvelmor-0.6-350.svg"));
    QCOMPARE(int(failed.size()), 6);

    QCOMPARE(exportTool(kOtherSetting + QStringList{"--out", dir.path()}).status, 0);
    QVERIFY(startingWith(snapshot(dir.path()), "kvelmor-0.03-300", false) == failed);
}

QTEST_GUILESS_MAIN(TestExportTrust)
#include "tst_exporttrust.moc"
