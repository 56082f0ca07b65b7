#include "ui/schaltzeit_transfer.h"

#include "ui/help_box.h"
#include "ui/main_window.h"
#include "ui/port_selector.h"
#include "ui/window_style.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vandorelle {

namespace {
void compact(QLayout *layout)
{
    setGroupMargins(layout);
    layout->setSpacing(3);
}

QPushButton *button(const char *name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
} // namespace

TransferPanel::TransferPanel(TQuorvix *window)
    : QWidget(window), w(window)
{
    setObjectName(QStringLiteral("TransferPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    Datenaustausch = new QGroupBox(QStringLiteral("Datenaustausch"), this);
    Datenaustausch->setObjectName(QStringLiteral("Datenaustausch"));
    auto *dl = new QGridLayout(Datenaustausch);
    compact(dl);
    Send_Button_WS = button("Send_Button_WS", QStringLiteral("Steuerung --> PC"), Datenaustausch);
    Read_Button_WS = button("Read_Button_WS", QStringLiteral("PC --> Steuerung"), Datenaustausch);
    Send_Button_RS = button("Send_Button_RS", QStringLiteral("Steuerung --> PC"), Datenaustausch);
    Read_Button_RS = button("Read_Button_RS", QStringLiteral("PC --> Steuerung"), Datenaustausch);
    // The two pairs share one place; only one pair is visible at a time.
    dl->addWidget(Send_Button_WS, 0, 0);
    dl->addWidget(Send_Button_RS, 0, 0);
    dl->addWidget(Read_Button_WS, 1, 0);
    dl->addWidget(Read_Button_RS, 1, 0);
    dl->addWidget(makeHelpButton("Help_Datenaustausch", Datenaustausch), 0, 1, Qt::AlignTop);
    Send_Button_WS->hide();
    Read_Button_WS->hide();
    layout->addWidget(Datenaustausch);

    Sicherung = new QGroupBox(QStringLiteral("Sicherung auf Datenträger"), this);
    Sicherung->setObjectName(QStringLiteral("Sicherung"));
    auto *sl = new QVBoxLayout(Sicherung);
    compact(sl);
    SaveToDisk_Button = button("SaveToDisk_Button", QStringLiteral(" Speichern auf File"), Sicherung);
    SaveToDisk_Button->setToolTip(
        QStringLiteral("Schaltzeiten sowie alle anderen Einstellungen auf Festplatte schreiben"));
    Read_From_Disk = button("Read_From_Disk", QStringLiteral(" Lesen von File     "), Sicherung);
    auto *saveRow = new QHBoxLayout;
    saveRow->addWidget(SaveToDisk_Button, 1);
    saveRow->addWidget(makeHelpButton("Help_Sicherung", Sicherung));
    sl->addLayout(saveRow);
    sl->addWidget(Read_From_Disk);
    layout->addWidget(Sicherung);

    PortGroup = new QGroupBox(QStringLiteral("Port"), this);
    PortGroup->setObjectName(QStringLiteral("PortGroup"));
    auto *pl = new QVBoxLayout(PortGroup);
    compact(pl);
    Combo_PortNum = new PortSelector(PortGroup);
    ProgressBar = new QProgressBar(PortGroup);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    ProgressBar->hide();
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(Combo_PortNum, 1);
    portRow->addWidget(makeHelpButton("Help_Port", PortGroup));
    pl->addLayout(portRow);
    pl->addWidget(ProgressBar);
    // Line errors of the port show under its selector.
    Label21 = new QLabel(PortGroup);
    Label21->setObjectName(QStringLiteral("Label21"));
    pl->addWidget(Label21);
    layout->addWidget(PortGroup);
    layout->addStretch(1);

    connect(Send_Button_WS, &QPushButton::clicked, this, &TransferPanel::Read_ButtonClick);
    connect(Send_Button_RS, &QPushButton::clicked, this, &TransferPanel::Read_ButtonClick);
    connect(Read_Button_WS, &QPushButton::clicked, this, &TransferPanel::Send_ButtonClick);
    connect(Read_Button_RS, &QPushButton::clicked, this, &TransferPanel::Send_ButtonClick);
    connect(SaveToDisk_Button, &QPushButton::clicked, this, &TransferPanel::SaveToDisk_ButtonClick);
    connect(Read_From_Disk, &QPushButton::clicked, this, &TransferPanel::Read_From_DiskClick);
    connect(Combo_PortNum, &QComboBox::activated, this, &TransferPanel::Combo_PortNumChange);
    setUpExchange();
}

void TransferPanel::setTransferButtonsEnabled(bool enabled)
{
    for (auto *b : {Send_Button_WS, Read_Button_WS, Send_Button_RS, Read_Button_RS})
        b->setEnabled(enabled);
}

void TransferPanel::showTransferPair(bool conservatory)
{
    Send_Button_WS->setVisible(conservatory);
    Read_Button_WS->setVisible(conservatory);
    Send_Button_RS->setVisible(!conservatory);
    Read_Button_RS->setVisible(!conservatory);
    setTransferButtonsEnabled(true);
}

void TransferPanel::Combo_PortNumChange()
{
    w->reopenPort(/*markPending=*/true);
}

} // namespace vandorelle
