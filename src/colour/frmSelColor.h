#pragma once

#include <QDialog>
#include <QString>

class ColourPalette;
class DlgReturn;
class QLabel;
class QLineEdit;

// Modal colour picker: a palette of swatches, a text box with the colour value and
// a preview patch. The colour travels in and out through the caller's DlgReturn
// under ColourKey; OK hands back the text as typed or picked, anything else
// hands back nothing.
class frmSelColor : public QDialog
{
    Q_OBJECT

public:
    // The key under which the result holder carries the colour.
    static inline const QString ColourKey = QStringLiteral("SelColor");

    explicit frmSelColor(QWidget *parent = nullptr);

    // The caller's result holder; may be null, then the dialog hands nothing back.
    DlgReturn *dlgR() const { return m_holder; }
    void SetDlgR(DlgReturn *holder) { m_holder = holder; }

protected:
    // Loads the holder's colour each time the dialog is shown.
    void showEvent(QShowEvent *event) override;

private:
    void loadFromHolder();
    void showPreview(const QString &text);
    void confirm();

    ColourPalette *m_palette;
    QLabel *m_preview;
    QLineEdit *m_text;
    DlgReturn *m_holder = nullptr;
};
