// The brief-help window: a read-only viewer of the rich-text help file, loaded once.
#pragma once

#include <QString>
#include <QWidget>

class QFrame;
class QTextEdit;

namespace vorla {

class THep1F : public QWidget {
    Q_OBJECT
  public:
    explicit THep1F(QWidget* parent = nullptr);

    // Sets the help file's name and shows the window without blocking; the file is loaded
    // at the first activation (and tried again at later ones until it has been loaded).
    void ShowHelp(const QString& fileName);

    // Where a bare file name is looked for: the working directory, then the program's own
    // folder and its data folders. An empty text when it is in none of them.
    static QString FindHelpFile(const QString& fileName);

    static inline const QString kNotFoundText = QStringLiteral("\n        Soubor nenalezen !");
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    QString HelpFileName;            // set by ShowHelp
    bool LoadFlag = true;            // true until the file has been loaded once
    bool ReportByMessageBox = true;  // a failed load shows a message (tests turn it off)

    QFrame* ShapeRtf = nullptr;
    QTextEdit* RichEditHelp = nullptr;

  signals:
    // A load failed and is reported: at most once per ShowHelp, never per activation, so
    // closing the message (which activates the window again) cannot start a cycle.
    void helpLoadFailed(const QString& message);

  public slots:
    void FormActivate();

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void FormCreate();
    void FormResize();
    // Enter or Escape closes the window; true when the key was one of them.
    bool FormKeyPress(int key);
    bool LoadFile(QString& error);

    bool reportPending_ = false;
    bool placed_ = false;
};

}  // namespace vorla
