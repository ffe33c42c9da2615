#include "ui/scene_bus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QVariantMap>

namespace vorla {
namespace {
int gConnections = 0;  // each publisher has a connection of its own name
}

SceneBus::SceneBus(QObject* parent) : QObject(parent) {
    connectionName_ = QString("vorla-scene-%1").arg(++gConnections);
}

SceneBus::~SceneBus() {
    Stop();
}

QString SceneBus::BusNameFor(const QString& programFile) {
    QString base = QFileInfo(programFile).completeBaseName();
    QString element;
    for (QChar c : base) {
        const bool ok =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        element += ok ? c : QChar('_');
    }
    if (element.isEmpty()) element = "vorla";
    if (element[0].isDigit()) element.prepend('_');
    // A bus name has at most 255 characters; leave room for an instance suffix.
    return "org.vorla." + element.left(200);
}

bool SceneBus::Start() {
    if (started_) return true;
    // The address is read now, not when the process started.
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    QDBusConnection bus =
        address.isEmpty()
            ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_)
            : QDBusConnection::connectToBus(address, connectionName_);
    if (!bus.isConnected() || !bus.interface()) {
        QDBusConnection::disconnectFromBus(connectionName_);
        return false;
    }
    if (!bus.registerObject(kObjectPath, this, QDBusConnection::ExportAllProperties)) {
        QDBusConnection::disconnectFromBus(connectionName_);
        return false;
    }
    const QString name = BusNameFor(QCoreApplication::applicationFilePath());
    for (const QString& candidate :
         {name, name + QString(".pid%1").arg(QCoreApplication::applicationPid())}) {
        const auto reply =
            bus.interface()->registerService(candidate, QDBusConnectionInterface::DontQueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
        if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            service_ = candidate;
            started_ = true;
            return true;
        }
    }
    bus.unregisterObject(kObjectPath);
    QDBusConnection::disconnectFromBus(connectionName_);
    return false;
}

void SceneBus::Stop() {
    if (!started_) return;
    QDBusConnection bus(connectionName_);
    bus.unregisterObject(kObjectPath);
    if (bus.interface()) bus.interface()->unregisterService(service_);
    QDBusConnection::disconnectFromBus(connectionName_);
    started_ = false;
}

void SceneBus::Publish(const QString& text) {
    text_ = text;
    if (!started_) return;
    QDBusMessage signal = QDBusMessage::createSignal(kObjectPath, "org.freedesktop.DBus.Properties",
                                                     "PropertiesChanged");
    signal << kInterface << QVariantMap{{"DdeServerItemK", text_}} << QStringList{};
    QDBusConnection(connectionName_).send(signal);
}

}  // namespace vorla
