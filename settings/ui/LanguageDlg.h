#pragma once
// CLanguageDlg: the Language dialog (template 134). Offers English and
// Chinese (the template's buttons) and every further language module found in
// the program directory; on OK stores the chosen language in "Halvorn.ini"
// and the settings file, and restarts the program.

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QRadioButton;
class TemplateHost;

class CLanguageDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLanguageDlg(QWidget* parent = nullptr);
    int DoModal() { return exec(); }

    // Set when OK stored a different language (the program then restarts).
    bool m_bLanguageChanged = false;
    // 0 English (button 1006), 1 Chinese (button 1007), 2 and on the further
    // modules in the order of furtherLanguages(); -1 until the dialog opens.
    int m_nLanguage = -1;

    // The languages of the "<Language>517.rcc" modules in programDir other
    // than English and Chinese (case ignored), each named as its file is,
    // sorted without regard to case.
    static QStringList furtherLanguages(const QString& programDir);

    // Starts the program anew; the default starts QCoreApplication's program
    // file detached. Tests put an observer here instead.
    using RelaunchHook = std::function<void(const QString& program)>;
    static void setRelaunchHook(RelaunchHook hook);

    // What the program does around the restart, handed over by the main
    // window: askToSave offers unsaved documents a save (false: Cancel, the
    // language stays); closeProgram ends this instance without asking again.
    struct ProgramHooks {
        std::function<bool()> askToSave;
        std::function<void()> closeProgram;
    };
    static void setProgramHooks(ProgramHooks hooks);

    void OnOK();
    void accept() override { OnOK(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnInitDialog();
    void restartProgram();
    void addFurtherLanguages();
    int currentChoice() const;

    TemplateHost* m_template = nullptr;

    QRadioButton* m_radioEnglish = nullptr;  // 1006
    QRadioButton* m_radioChinese = nullptr;  // 1007
    QStringList m_languages;                 // by choice
    QList<QRadioButton*> m_radios;           // by choice; null where the template lacks one
};
