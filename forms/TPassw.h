#pragma once

#include "data/DbQuery.h"

#include <QDialog>
#include <QMessageBox>
#include <functional>

class DbConnection;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class TLocalizer;
class TTranslator;
class TVente_au_comptoir_zedivad;

/// The login dialog: the user picks a name among those who may log in, types
/// the password and presses "Entrer". A wrong name or password is answered by
/// an error box and the third failure ends the program; "Quitter" (or Ctrl+F4)
/// closes the dialog without a user.
///
/// Created when needed, shown modally, and freed when it closes.
class TPassw : public QDialog
{
    Q_OBJECT

public:
    /// What the dialog does to the window that opened it.
    struct Host
    {
        /// When the dialog is shown: the start-up timer goes off.
        std::function<void()> stopStartupTimer;
        /// After UTILISAT found the user (its first row is current): the
        /// steps of a successful login in the main window.
        std::function<void(const DbQuery &user)> loggedIn;
    };

    /// connection: the main window's; localizer: the switching localizer whose
    /// culture the dialog's translator follows (none: French, not mirrored).
    TPassw(DbConnection &connection, TLocalizer *localizer, Host host, QWidget *parent = nullptr);
    ~TPassw() override;

    /// The dialog of the main window: over its connection, following its
    /// language, centred over it, and a successful login writes into it
    /// (loginSucceeded). Not shown yet.
    static TPassw *create(TVente_au_comptoir_zedivad &main);
    /// The start-up timer's last step: the dialog, shown modally; returns once
    /// it has closed (and freed itself).
    static void execute(TVente_au_comptoir_zedivad &main);
    /// What a successful login does to the main window, user being the row
    /// of UTILISAT: current workstation and user key, the print option, the
    /// board, today's validated lines, status panels 3 and 1, the working
    /// date, the board refresh.
    static void loginSucceeded(TVente_au_comptoir_zedivad &main, const DbQuery &user);

    static const QString UTILISATSql;
    static const QString liste_adminSql;
    static QString wrongUserMessage() { return QStringLiteral("utilisateur eronnée"); }
    static QString threeAttemptsMessage() { return QStringLiteral("Vous n'avez le droit qu'au 3 essais..."); }

    /// Boxes the dialog shows, for tests: each goes to presenter instead of a
    /// modal message box. An empty function restores the message boxes.
    using MessagePresenter
        = std::function<void(QMessageBox::Icon, const QString &caption, const QString &text)>;
    static void setMessagePresenter(MessagePresenter presenter);
    /// How the program ends after the third failure (tests record it); an
    /// empty function restores the default, which ends the application.
    static void setQuitFunction(std::function<void()> quit);

    int failedAttempts() const { return m_failedAttempts; }

    // Handlers.
    void FormShow();
    void FormActivate();
    void cButton1Click();
    void cxButton1Click();
    void cxButton4Click();

    DbQuery UTILISAT;
    DbQuery liste_admin;

    QWidget *Panel1; ///< top band
    QWidget *Panel2; ///< body
    QLabel *Label3; ///< contact text of the top band
    QLabel *Label4; ///< "Version :", hidden
    QLabel *Label1; ///< "Utilisateur"
    QComboBox *cxTextEdit1; ///< user box
    QLabel *Label2; ///< "Mot de passe"
    QLineEdit *cxTextEdit2; ///< password box
    QToolButton *cxButton4; ///< show-password button
    QPushButton *cButton1; ///< "Entrer"
    QPushButton *cxButton1; ///< "Quitter"
    QLabel *Image1; ///< decorative picture
    QLabel *Label5; ///< contact text of the body
    QProgressBar *cxProgressBar1; ///< activity bar
    TTranslator *Translator1;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void fillUserBox();
    bool userBoxKey(QKeyEvent *key);
    void failedAttempt();

    Host m_host;
    int m_failedAttempts = 0;
};
