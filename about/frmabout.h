#pragma once

#include <QDialog>

class QIcon;
class QLabel;
class QPixmap;
class QPlainTextEdit;
class QPushButton;

// The About window: the program's title, version, description, icon, logo and
// contact address, and a button that starts the system-information tool.
// Non-modal; it is destroyed when it closes.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    // The description Text1 shows, in English: seven lines, each ended by CR
    // LF. Text1 shows its translation, with line breaks of its own.
    static const char Description[];
    // The address Label2 shows.
    static const char ContactAddress[];

    // `icon` is the program's icon, `logo` its 240 x 45 logo; the window
    // takes them from its owner so that it needs no resources of its own.
    frmAbout(const QIcon &icon, const QPixmap &logo, QWidget *parent = nullptr);

    // Load step: caption and labels from the application's name and version.
    void Form_Load();
    // Names the web engine the program runs on and how far its security
    // fixes go, first in the text, above the description: what a report of a
    // page that does not work needs, and what a user should know of an old
    // engine. An engine `outOfDate` is in the warning colour (its words say so too).
    void showEngine(const QString &engine, bool outOfDate);
    // The colour of an out-of-date engine's line: a dark red that stands out
    // from the button face the text lies on.
    static QColor warningColour();
    // Closes the window (the OK button, Enter and Esc).
    void cmdOK_Click();
    // Starts the system-information tool (the System Info button).
    void cmdSysInfo_Click();
    // Starts the system-information tool, or tells the user that it is unavailable.
    void StartSysInfo();

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QPlainTextEdit *Text1;
    // The etched separator: element 0 the white line, element 1 the grey one.
    QWidget *Line1[2];
    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls(const QIcon &icon, const QPixmap &logo);
    QWidget *createLine(int index, const QColor &colour, const QRect &pixels);
};
