// The scene text offered to other programs: a read-only property on the session bus.
//
//   gdbus call --session --dest NAME --object-path /Vorla
//     --method org.freedesktop.DBus.Properties.Get org.vorla.Scene DdeServerItemK
//
// NAME is BusNameFor(the program's file), "org.vorla.vorla" for the installed program.
#pragma once

#include <QObject>
#include <QString>

namespace vorla {

class SceneBus : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.vorla.Scene")
    Q_PROPERTY(QString DdeServerItemK READ DdeServerItemK)

  public:
    static inline const QString kObjectPath = QStringLiteral("/Vorla");
    static inline const QString kInterface = QStringLiteral("org.vorla.Scene");
    static inline const QString kInitialText = QStringLiteral("NOTHING");

    explicit SceneBus(QObject* parent = nullptr);
    ~SceneBus() override;

    // Connects to the session bus, exports the object and takes the well-known name (a
    // second running copy takes the name with ".pid<PID>" appended). False when there is no
    // session bus or no name can be had; the program then runs without publishing.
    bool Start();
    bool Started() const { return started_; }
    QString ServiceName() const { return service_; }

    QString DdeServerItemK() const { return text_; }

    // "org.vorla." and the file's base name, made a valid bus-name element.
    static QString BusNameFor(const QString& programFile);

  public slots:
    // Sets the text and signals PropertiesChanged, at every call.
    void Publish(const QString& text);

  private:
    void Stop();

    QString text_ = kInitialText;
    QString connectionName_;
    QString service_;
    bool started_ = false;
};

}  // namespace vorla
