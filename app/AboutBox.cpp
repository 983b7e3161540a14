// The about box: the maker's logo, the legal warning, the copyright notice and System Info.
#include "app/AboutBox.h"

#include "app/SystemInfoLauncher.h"
#include "assets/DesignFonts.h"
#include "ui/DialogFrame.h"
#include "ui/SvgPicture.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QString Warning = QStringLiteral(
    "This program is protected by copyright law and international treaties. Unauthorized "
    "distribution or reproduction of this program, or any part of it, may result in severe civil "
    "and criminal penalties, and will be prosecuted to the maximum extent possible under law.");

const QString Copyright = QStringLiteral("Copyright \u00A9 2026 Pellmoor");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QRect& geometry)
{
    QPushButton* button
        = makeCommandButton(parent, QString::fromLatin1(name), text, geometry, 8.25);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption,
                     const QRect& geometry)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setGeometry(geometry);
    frame->setFont(designFont(QStringLiteral("MS Sans Serif"), 8.25, QFont::Bold));
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);
    return frame;
}

} // namespace

void AboutBox::showModal(QWidget* parent, SystemInfoLauncher& systemInfo)
{
    AboutBox box(parent, systemInfo);
    box.exec();
}

AboutBox::AboutBox(QWidget* parent, SystemInfoLauncher& systemInfo)
    : QDialog(parent)
    , m_systemInfo(systemInfo)
{
    setObjectName(QStringLiteral("frmAbout"));
    setUpDialogFrame(this, QStringLiteral("About Sumdash!"), twipsSize(4155, 4215));

    auto* makerLogo
        = new SvgPicture(QStringLiteral(":/assets/maker-logo.svg"), SvgPicture::Fit::Stretch, this);
    makerLogo->setObjectName(QStringLiteral("Image1"));
    makerLogo->setGeometry(twips(120, 120, 3915, 1650));
    makerLogo->setAccessibleName(QStringLiteral("Pellmoor"));

    auto* okButton
        = makeButton(this, "Command1", QStringLiteral("OK"), twips(120, 3720, 1875, 375));
    QGroupBox* warningFrame
        = makeFrame(this, "Frame3", QStringLiteral("Warning:"), twips(120, 1800, 3915, 1335));
    auto* warningText = makeTextLabel(warningFrame, QStringLiteral("Label1"), Warning);
    warningText->setGeometry(twips(120, 240, 3735, 975));
    warningText->setWordWrap(true);
    warningText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    warningText->setFont(designFont(QStringLiteral("MS Sans Serif"), 7));
    QGroupBox* copyrightFrame = makeFrame(this, "Frame4", Copyright, twips(120, 3240, 3915, 375));
    auto* cmdSysInfo = makeButton(this, "cmdSysInfo", QStringLiteral("System Info..."),
                                  twips(2160, 3720, 1875, 375));

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
    setTabOrder(okButton, warningFrame);
    setTabOrder(warningFrame, copyrightFrame);
    setTabOrder(copyrightFrame, cmdSysInfo);
    okButton->setFocus();
}

void AboutBox::cmdSysInfo_Click()
{
    StartSysInfo();
}

void AboutBox::StartSysInfo()
{
    if (!m_systemInfo.start()) {
        showMessage(this, QStringLiteral("System Information Is Unavailable At This Time"));
    }
}
