#pragma once
// The read-only text viewer: key help, the manual, the character sheet, intro texts and
// texts that scripts show. One window for the whole run; dismissing hides it, so it keeps
// its last text.
#include <QDialog>

class QPlainTextEdit;

namespace morvath::ui {

class frmShowText : public QDialog {
    Q_OBJECT
public:
    static frmShowText& Instance();

    // Sets the text and shows the viewer; modal waits until the player dismisses it.
    void ShowText(const QString& text, bool modal, const QString& caption = QString());
    QString Text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmShowText();
    QPlainTextEdit* Text1;
};

}  // namespace morvath::ui
