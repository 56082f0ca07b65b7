#pragma once

#include <QTextEdit>

class QPushButton;

namespace vandorelle {

class TQuorvix;

namespace help {
struct Topic;
}

// The "?" button of a group of controls: the help box finds it by its object name.
QPushButton *makeHelpButton(const char *objectName, QWidget *parent);

// The read-only help pane floating over the window. Each "?" button shows its chapter of
// the help document; the same button again, a click into the pane or a page change hide it.
class HelpBox : public QTextEdit {
    Q_OBJECT
public:
    explicit HelpBox(TQuorvix *window);

    // Connects every "?" button of the window that exists now to its chapter; buttons
    // connected before are left alone, missing ones are skipped.
    void connectButtons();
    void showTopic(const help::Topic &topic);

    const QString &lastTopic() const { return m_lastTopic; }
    QString documentPath() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    // False (after telling the user) when the document cannot be read.
    bool loadDocument();
    void placeCaretAt(const QString &text, bool selectIt);

    TQuorvix *const w;
    QString m_lastTopic;
};

} // namespace vandorelle
