#include "ui/logbook_tab.h"

#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/window_style.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vandorelle {

namespace {

QPushButton *button(const char *name, const QString &caption, const QString &hint, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

} // namespace

LogbuchTab::LogbuchTab(TQuorvix *window)
    : TabPage(window, "Alarm_Logbuch_Maske")
{
    exchange = new LogbookExchange(w->session, this);

    LB = new QListWidget(this);
    LB->setObjectName(QStringLiteral("LB"));
    setUpOverviewList(LB);
    for (int i = 0; i < kLogbookPageLines; ++i)
        LB->addItem(QString());

    Logbuch_Button = button("Logbuch_Button", QStringLiteral("Logbuch lesen"),
                            QStringLiteral("Die nächsten 100 Logbuch-Einträge lesen"), this);
    Logbuch_Anfang = button("Logbuch_Anfang", QStringLiteral("Ab Anfang"),
                            QStringLiteral("Logbuch ab Anfang lesen"), this);
    Logbuch_Loeschen = button("Logbuch_Loeschen", QStringLiteral("Logbuch löschen"), QString(), this);
    Logbuch_save_Button = button("Logbuch_save_Button", QStringLiteral("Save to Disk"), QString(), this);
    Help_Logbuch = button("Help_Logbuch", QStringLiteral("?"), QString(), this);
    Help_Logbuch->setFixedWidth(24);

    LogbuchProgressBar = new QProgressBar(this);
    LogbuchProgressBar->setObjectName(QStringLiteral("LogbuchProgressBar"));
    LogbuchProgressBar->setRange(0, 100);
    LogbuchProgressBar->hide();

    auto *side = new QVBoxLayout;
    for (QPushButton *b : {Logbuch_Button, Logbuch_Anfang, Logbuch_Loeschen, Logbuch_save_Button})
        side->addWidget(b);
    side->addWidget(LogbuchProgressBar);
    side->addStretch(1);
    side->addWidget(Help_Logbuch, 0, Qt::AlignRight);

    auto *layout = pageGrid(this);
    auto *rows = new WholeRows(this, 4);
    rows->add(LB);
    layout->addWidget(rows, 0, 0);
    layout->addLayout(side, 0, 1);
    layout->setColumnStretch(0, 1);

    connect(Logbuch_Button, &QPushButton::clicked, this, &LogbuchTab::Logbuch_ButtonClick);
    connect(Logbuch_Anfang, &QPushButton::clicked, this, &LogbuchTab::Logbuch_AnfangClick);
    connect(Logbuch_Loeschen, &QPushButton::clicked, this, &LogbuchTab::Logbuch_LoeschenClick);
    connect(Logbuch_save_Button, &QPushButton::clicked, this, &LogbuchTab::Logbuch_save_ButtonClick);

    connect(exchange, &LogbookExchange::started, this, &LogbuchTab::onStarted);
    connect(exchange, &LogbookExchange::finished, this, &LogbuchTab::onFinished);
    connect(exchange, &LogbookExchange::totalChanged, this, [this](int32_t total) {
        LogbuchProgressBar->setMaximum(std::max<int32_t>(total, 1));
    });
    connect(exchange, &LogbookExchange::exportProgress, LogbuchProgressBar, &QProgressBar::setValue);
    connect(exchange, &LogbookExchange::pageCleared, this, [this] {
        for (int i = 0; i < LB->count(); ++i)
            LB->item(i)->setText(QString());
    });
    connect(exchange, &LogbookExchange::lineChanged, this, [this](int index, const QString &text) {
        if (QListWidgetItem *item = LB->item(index))
            item->setText(text);
    });
    connect(exchange, &LogbookExchange::lineSelected, LB, [this](int index) { LB->setCurrentRow(index); });
}

void LogbuchTab::startUp()
{
    LogbuchProgressBar->hide();
}

void LogbuchTab::Logbuch_ButtonClick() { exchange->readNextPage(); }

void LogbuchTab::Logbuch_AnfangClick() { exchange->readFromStart(); }

void LogbuchTab::Logbuch_LoeschenClick() { exchange->deleteLogbook(); }

void LogbuchTab::Logbuch_save_ButtonClick()
{
    const QString path = ui::chooseFileIn(w->SaveDialog_Logbuch, w->logbookFolder);
    if (path.isEmpty()) {
        setTransferControlsEnabled(true);
        return;
    }
    exchange->startExport(path);
}

void LogbuchTab::onStarted(LogbookExchange::Operation operation)
{
    w->Timer1->stop();
    w->Timer3->stop();
    setTransferControlsEnabled(false);
    if (operation == LogbookExchange::Operation::Export) {
        LogbuchProgressBar->setValue(0);
        LogbuchProgressBar->show();
    }
}

void LogbuchTab::onFinished(LogbookExchange::Operation operation, LogbookExchange::Outcome outcome,
                            const QString &message)
{
    w->Timer1->start();
    w->Timer3->start();
    setTransferControlsEnabled(true);
    // After a complete export "Ab Anfang" waits for the next poll tick, which enables it.
    if (operation == LogbookExchange::Operation::Export && outcome == LogbookExchange::Outcome::Completed)
        Logbuch_Anfang->setEnabled(false);
    LogbuchProgressBar->hide();
    if (!message.isEmpty())
        ui::showError(w, message);
}

void LogbuchTab::setTransferControlsEnabled(bool enabled)
{
    for (QPushButton *b : {Logbuch_Button, Logbuch_Anfang, Logbuch_Loeschen, Logbuch_save_Button})
        b->setEnabled(enabled);
    w->Parameter_Maske->setEnabled(enabled);
}

} // namespace vandorelle
