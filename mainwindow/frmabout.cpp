#include "frmabout.h"

#include "schriften.h"
#include "twips.h"
#include "version.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>

// Resources of a static library must be registered by hand.
static void aboutRessourcenLaden()
{
    Q_INIT_RESOURCE(about);
}

namespace varo {

namespace {

// Twips as the box was designed.
constexpr int breiteTwips = 5730;
constexpr int logoTwips = 720;

QPixmap logo(int seite, qreal pixelverhaeltnis)
{
    QSvgRenderer renderer(QStringLiteral(":/about/logo.svg"));
    if (!renderer.isValid())
        return {};
    QPixmap bild(QSize(seite, seite) * pixelverhaeltnis);
    bild.setDevicePixelRatio(pixelverhaeltnis);
    bild.fill(Qt::transparent);
    QPainter maler(&bild);
    renderer.render(&maler, QRectF(0, 0, seite, seite));
    return bild;
}

} // namespace

FrmAbout::FrmAbout(QWidget *parent) : QDialog(parent)
{
    aboutRessourcenLaden();
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Info :     Varolinaten - Berechnung"));
    oberflaecheAufbauen();
    Form_Load();
}

void FrmAbout::oberflaecheAufbauen()
{
    m_picIcon = new QLabel(this);
    m_picIcon->setObjectName(QStringLiteral("picIcon"));
    m_picIcon->setToolTip(QStringLiteral("Logo"));
    const int seite = twipsZuPixel(logoTwips);
    m_picIcon->setPixmap(logo(seite, devicePixelRatioF()));
    m_picIcon->setFixedSize(seite, seite);

    m_lblTitle = new QLabel(QStringLiteral("Anwendungstitel"), this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setFont(titelSchrift(16, true));

    m_lblVersion = new QLabel(QStringLiteral("Version"), this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setToolTip(QStringLiteral("Programmversion"));

    auto *line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);

    // The doubled blank after "Das" is part of the text as it always was.
    m_lblDescription = new QLabel(
        QStringLiteral("Das  Programm dient der Ermittlung von günstigen und ungünstigen "
                       "Varolinaten bei einer bestimmten Frequenz oder mehreren Frequenzen. "
                       "Die ungünstigen Längen sollten unbedingt gemieden werden !"),
        this);
    m_lblDescription->setObjectName(QStringLiteral("lblDescription"));
    m_lblDescription->setWordWrap(true);
    m_lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setToolTip(QStringLiteral("Info schließen"));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::close);

    auto *raster = new QGridLayout(this);
    raster->addWidget(m_picIcon, 0, 0, 2, 1, Qt::AlignTop);
    raster->addWidget(m_lblTitle, 0, 1);
    raster->addWidget(m_lblVersion, 1, 1);
    raster->addWidget(line1, 2, 0, 1, 2);
    raster->addWidget(m_lblDescription, 3, 0, 1, 2);
    raster->setRowStretch(3, 1);
    raster->addWidget(m_cmdOK, 4, 1, Qt::AlignRight);
    raster->setColumnStretch(1, 1);

    setMinimumWidth(twipsZuPixel(breiteTwips));
}

void FrmAbout::Form_Load()
{
    m_lblVersion->setText(versionsText(version::major, version::minor, version::revision));
    m_lblTitle->setText(QString::fromUtf8(version::anwendungstitel));
}

QString FrmAbout::versionsText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

void FrmAbout::zeigen(QPointer<FrmAbout> &box, QWidget *parent)
{
    // A box closed a moment ago may still wait for its deletion; it must
    // not come back with the old labels.
    if (box && !box->isVisible()) {
        box->deleteLater();
        box = nullptr;
    }
    if (!box)
        box = new FrmAbout(parent);
    box->setWindowState(box->windowState() & ~Qt::WindowMinimized);
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace varo
