#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

namespace varo {

// The about box behind "&Info": logo, application title, version and what
// the program is for. It is not modal, and it is discarded when closed, so
// the next "&Info" builds it afresh.
class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FrmAbout(QWidget *parent = nullptr);

    // Shows the box held in `box`, creating it when there is none; an open
    // box is only brought to the front, so "&Info" twice shows one box.
    static void zeigen(QPointer<FrmAbout> &box, QWidget *parent);

    // "Version 2.0.7": plain integers, no leading zeros.
    static QString versionsText(int major, int minor, int revision);

private:
    void oberflaecheAufbauen();
    void Form_Load();

    QLabel *m_picIcon = nullptr;
    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_lblDescription = nullptr;
    QPushButton *m_cmdOK = nullptr;
};

} // namespace varo
