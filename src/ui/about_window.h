// The About window: the program's name, version, emblem, credits and the free-use notice.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>

class QLabel;
class QPushButton;

namespace vorla {

class TAbo1F : public QDialog {
    Q_OBJECT
  public:
    explicit TAbo1F(QWidget* parent = nullptr);

    // Sets the name and the version and shows the window modally; returns when it is closed
    // (always with the result Accepted).
    int ShowAbout(const QString& name, const QString& version);

    // The emblem: a red meander on pale yellow, 80 x 40 pixels.
    static QImage Emblem();

    QString ProgramName;
    QString ProgramVersion;

    QLabel* LabelJmProgramu = nullptr;
    QLabel* IkonaProgramu = nullptr;
    QLabel* LabelVerze = nullptr;
    QLabel* LabelCredits = nullptr;
    QLabel* LabelNotice = nullptr;
    QPushButton* ButOK = nullptr;

  public slots:
    void FormActivate();
    // Escape and the window's close button end with OK as well.
    void reject() override;

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    void FormCreate();
};

}  // namespace vorla
