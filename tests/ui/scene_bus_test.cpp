// The scene text on a private session bus, read back as other programs read it.
#include "ui/scene_bus.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <atomic>
#include <thread>

using namespace vorla;

// Receives PropertiesChanged and passes it on as a Qt signal.
class ChangeListener : public QObject {
    Q_OBJECT
  public slots:
    void onChanged(const QString& iface, const QVariantMap& changed, const QStringList&) {
        emit changedText(iface, changed.value("DdeServerItemK").toString());
    }
  signals:
    void changedText(const QString& iface, const QString& text);
};

class SceneBusTest : public QObject {
    Q_OBJECT

    QProcess daemon_;
    QString address_;

    // The property as a client reads it, with blocking calls (introspection, then
    // Properties.Get) made from a thread of its own while this thread's loop answers them.
    QString ReadProperty(const QString& service) {
        QString result = "<no reply>";
        std::atomic<bool> done = false;
        std::thread reader([&] {
            {
                QDBusConnection c = QDBusConnection::connectToBus(address_, "test-reader");
                QDBusInterface iface(service, SceneBus::kObjectPath, SceneBus::kInterface, c);
                const QVariant v = iface.property("DdeServerItemK");  // a string, not just any
                result = v.metaType().id() == QMetaType::QString
                             ? v.toString()
                             : "<" + iface.lastError().message() + ">";
            }
            QDBusConnection::disconnectFromBus("test-reader");
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done.load(); }, 30000)) result = "<no answer in 30 s>";
        reader.join();
        return result;
    }

  private slots:
    void initTestCase() {
        // First, no bus at all: Start fails cleanly and publishing still keeps the text.
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vorla-no-bus");
        {
            SceneBus bus;
            QVERIFY(!bus.Start());
            QVERIFY(!bus.Started());
            bus.Publish("2=3=");
            QCOMPARE(bus.DdeServerItemK(), QString("2=3="));
        }
        const QString exe = QStandardPaths::findExecutable("dbus-daemon");
        if (exe.isEmpty()) QSKIP("dbus-daemon is not installed");
        daemon_.start(exe, {"--session", "--print-address", "--nofork"});
        QVERIFY(daemon_.waitForStarted(10000));
        QVERIFY(daemon_.waitForReadyRead(10000));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        QVERIFY2(address_.startsWith("unix:"), qPrintable(address_));
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }

    void cleanupTestCase() {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            if (!daemon_.waitForFinished(5000)) daemon_.kill();
            daemon_.waitForFinished();
        }
    }

    void busNames() {
        // The program's name, with what a bus name cannot hold replaced.
        QCOMPARE(SceneBus::BusNameFor("C:/Apps/Vorla.exe"), QString("org.vorla.Vorla"));
        QCOMPARE(SceneBus::BusNameFor("/x/2d-view.bin"), QString("org.vorla._2d_view"));
        QCOMPARE(SceneBus::BusNameFor(""), QString("org.vorla.vorla"));
    }

    void publishesReadsBackAndSignals() {
        SceneBus bus;
        QCOMPARE(bus.DdeServerItemK(), QString("NOTHING"));
        QVERIFY(bus.Start());
        QCOMPARE(bus.ServiceName(), SceneBus::BusNameFor(QCoreApplication::applicationFilePath()));
        QDBusConnection client = QDBusConnection::connectToBus(address_, "test-client");

        ChangeListener listener;
        QVERIFY(client.connect(bus.ServiceName(), SceneBus::kObjectPath,
                               "org.freedesktop.DBus.Properties", "PropertiesChanged", &listener,
                               SLOT(onChanged(QString, QVariantMap, QStringList))));
        QSignalSpy changes(&listener, &ChangeListener::changedText);
        const QString text = "-1=3=2.5=1=1=1=2=3=2=3=2=2.5=";
        bus.Publish(text);
        QVERIFY(changes.wait(20000));
        QCOMPARE(changes.at(0).at(0).toString(), QString("org.vorla.Scene"));
        QCOMPARE(changes.at(0).at(1).toString(), text);
        QCOMPARE(ReadProperty(bus.ServiceName()), text);
        // Every update is signalled, also one that repeats the text.
        bus.Publish(text);
        QTRY_COMPARE_WITH_TIMEOUT(changes.count(), 2, 20000);

        QDBusConnection::disconnectFromBus("test-client");
    }

    void aSecondCopyTakesAnInstanceNameAndNamesAreFreedAtTheEnd() {
        QString name;
        {
            SceneBus first, second;
            QVERIFY(first.Start());
            QVERIFY(second.Start());
            name = first.ServiceName();
            QCOMPARE(second.ServiceName(),
                     name + ".pid" + QString::number(QCoreApplication::applicationPid()));
        }
        SceneBus again;
        QVERIFY(again.Start());
        QCOMPARE(again.ServiceName(), name);
    }
};

QTEST_GUILESS_MAIN(SceneBusTest)
#include "scene_bus_test.moc"
