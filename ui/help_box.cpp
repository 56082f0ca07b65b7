#include "ui/help_box.h"

#include "ui/dialogs.h"
#include "ui/help_document.h"
#include "ui/main_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>

namespace vandorelle {

namespace {
const char *const kConnectedProperty = "vandorelleHelpConnected";
} // namespace

QPushButton *makeHelpButton(const char *objectName, QWidget *parent)
{
    auto *b = new QPushButton(QStringLiteral("?"), parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setToolTip(QStringLiteral("Hilfe"));
    b->setCursor(Qt::WhatsThisCursor);
    b->setFixedWidth(22);
    return b;
}

HelpBox::HelpBox(TQuorvix *window)
    : QTextEdit(window), w(window)
{
    setObjectName(QStringLiteral("HelpBox"));
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette p = palette();
    p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::Text, p.color(QPalette::ToolTipText));
    // The chapter title stays marked while the focus is elsewhere.
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    hide();
    connectButtons();
}

void HelpBox::connectButtons()
{
    for (const help::Topic &topic : help::topics()) {
        for (QPushButton *b : w->findChildren<QPushButton *>(QString::fromLatin1(topic.button))) {
            if (b->property(kConnectedProperty).toBool())
                continue;
            b->setProperty(kConnectedProperty, true);
            const help::Topic *t = &topic;
            connect(b, &QPushButton::clicked, this, [this, t] { showTopic(*t); });
        }
    }
}

QString HelpBox::documentPath() const
{
    // The working directory first (a document of the user's own wins), then beside the
    // program (build tree), then the installed data directory.
    const QString dir = w->programDirectory.isEmpty() ? QDir::currentPath() : w->programDirectory;
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        QDir(dir).filePath(help::kFileName),
        QDir(appDir).filePath(help::kFileName),
        QDir(appDir).filePath(QStringLiteral("../share/vandorelle/") + help::kFileName),
    };
    for (const QString &path : candidates)
        if (QFileInfo::exists(path))
            return QDir::cleanPath(path);
    return candidates[0];
}

bool HelpBox::loadDocument()
{
    QFile file(documentPath());
    if (!file.open(QIODevice::ReadOnly)) {
        ui::showError(w, QStringLiteral("Datei %1 kann nicht geöffnet werden")
                             .arg(QDir::toNativeSeparators(file.fileName())));
        return false;
    }
    setPlainText(help::documentText(file.readAll()));
    return true;
}

void HelpBox::placeCaretAt(const QString &text, bool selectIt)
{
    const QTextCursor found = document()->find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return;
    QTextCursor c(document());
    if (selectIt) {
        c.setPosition(found.selectionEnd());
        c.setPosition(found.selectionStart(), QTextCursor::KeepAnchor);
    } else {
        c.setPosition(found.selectionStart());
    }
    setTextCursor(c);
    ensureCursorVisible();
}

void HelpBox::showTopic(const help::Topic &topic)
{
    if (m_lastTopic == topic.title && isVisible()) {
        hide();
        return;
    }
    // A document that cannot be read leaves the pane as it was.
    if (!loadDocument())
        return;
    setGeometry(topic.pane);
    show();
    raise();
    // Via the end of the document, so that the title comes to rest at the top of the pane.
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    placeCaretAt(help::kEndMarker, false);
    m_lastTopic = topic.title;
    const bool humidity = qstrcmp(topic.button, "Help_Feuchte") == 0;
    placeCaretAt(topic.title, /*selectIt=*/!humidity);
    if (!humidity)
        setFocus(Qt::OtherFocusReason);
}

void HelpBox::mousePressEvent(QMouseEvent *event)
{
    QTextEdit::mousePressEvent(event);
    hide();
}

} // namespace vandorelle
