#include "forms/TPassw.h"

#include "app/Translator.h"
#include "data/DbConnection.h"
#include "data/OptionStore.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/StatusBar.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

const QString TPassw::UTILISATSql
    = QStringLiteral("Select * from UTILISA where (BLOQUE='False')  and (NAME=:N)and(Pass=:p) ");
const QString TPassw::liste_adminSql
    = QStringLiteral("Select * from UTILISA where (BLOQUE='False')and (NAME<>'admin')");

namespace {

TPassw::MessagePresenter &presenter()
{
    static TPassw::MessagePresenter instance;
    return instance;
}

std::function<void()> &quitFunction()
{
    static std::function<void()> instance;
    return instance;
}

void present(QMessageBox::Icon icon, const QString &caption, const QString &text, bool stayOnTop)
{
    if (presenter()) {
        presenter()(icon, caption, text);
        return;
    }
    // No owner window: the box is centred on the screen.
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    if (stayOnTop)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

const QColor bandColour(0x54, 0x9E, 0x8A);
const QColor labelColour(0x40, 0x00, 0x00);

QFont calibri(int pixels, bool bold)
{
    QFont font(QStringLiteral("Calibri"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void fill(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

// The focused look of both boxes: thick dark border, light background.
const QString boxStyle = QStringLiteral(
    "QComboBox, QLineEdit { border: 1px solid #A0A0A0; background: white; padding: 0 4px; }"
    "QComboBox:focus, QLineEdit:focus { border: 3px solid #401A59; background: #E4DDD1; }"
    "QComboBox QLineEdit, QComboBox QLineEdit:focus { border: none; background: transparent; padding: 0; }");

} // namespace

TPassw::TPassw(DbConnection &connection, TLocalizer *localizer, Host host, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , UTILISAT(connection, UTILISATSql)
    , liste_admin(connection, liste_adminSql)
    , m_host(std::move(host))
{
    setObjectName(QStringLiteral("Passw"));
    setWindowTitle(QStringLiteral("Passw"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();

    Translator1 = new TTranslator(this, localizer, true);
    Translator1->addCaption(this);
    Translator1->addCaption(cButton1);
    Translator1->addCaption(Label1);
    Translator1->addCaption(Label2);
    Translator1->addCaption(Label4);
    Translator1->addCaption(cxButton1);
    Translator1->addLiteral(threeAttemptsMessage());
    // As the window is created: mirrored under a right-to-left language, then
    // the captions of the current one.
    Translator1->apply();
}

TPassw::~TPassw() = default;

TPassw *TPassw::create(TVente_au_comptoir_zedivad &main)
{
    Host host;
    host.stopStartupTimer = [&main] { main.Timer1->stop(); };
    host.loggedIn = [&main](const DbQuery &user) { loginSucceeded(main, user); };
    return new TPassw(main.UniConnection1, &main.LAnge, std::move(host), &main);
}

void TPassw::execute(TVente_au_comptoir_zedivad &main)
{
    create(main)->exec();
}

void TPassw::loginSucceeded(TVente_au_comptoir_zedivad &main, const DbQuery &user)
{
    main.Label1->setText(user.asText(QStringLiteral("POSTE")));
    main.Label12->setText(user.asText(QStringLiteral("CLE_USER")));
    main.OPTION_LOCALS_UTILISATEUR.open();
    if (OptionStore(main.OPTION_LOCALS_UTILISATEUR)
            .ReadStringc(main.Label12->text(), OptionStore::printOption())
        == u"True")
        main.cxCheckBox12->setChecked(true);
    // The working-date editor is still empty here: the board comes out empty.
    main.categor();
    main.Liste_Commande.close();
    main.Liste_Commande.setParam(0, DbValue(QDate::currentDate()));
    main.Liste_Commande.open();
    main.dxStatusBar1->setPanelText(3, user.asText(QStringLiteral("POSTE")));
    main.dxStatusBar1->setPanelText(1, user.asText(QStringLiteral("NAME")));
    main.cxDateEdit2->setDate(QDate::currentDate());
    main.Timer2->start();
}

void TPassw::buildLayout()
{
    // A frame of 2 pixels in the band's colour around a client area of 500 x 342.
    setFixedSize(504, 346);
    fill(this, bandColour);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(2, 2, 500, 57);
    Panel1->setLayoutDirection(Qt::RightToLeft);
    fill(Panel1, bandColour);

    Label4 = label(Panel1, QStringLiteral("Label4"), QStringLiteral("Version :"), QRect(8, 6, 80, 18));
    Label4->setFont(calibri(13, false));
    Label4->hide();
    Label3 = label(Panel1, QStringLiteral("Label3"),
                   QStringLiteral("Appel Cuisine \u2014 station de commandes de la cuisine"),
                   QRect(10, 18, 480, 22));
    Label3->setFont(calibri(16, true));
    Label3->setAlignment(Qt::AlignCenter);
    {
        QPalette p = Label3->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        Label3->setPalette(p);
    }

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(2, 59, 500, 285);
    Panel2->setLayoutDirection(Qt::RightToLeft);
    fill(Panel2, Qt::white);
    Panel2->setStyleSheet(boxStyle);

    QPalette labelPalette;
    labelPalette.setColor(QPalette::WindowText, labelColour);

    Label1 = label(Panel2, QStringLiteral("Label1"), QStringLiteral("Utilisateur"), QRect(163, 40, 100, 18));
    Label2
        = label(Panel2, QStringLiteral("Label2"), QStringLiteral("Mot de passe"), QRect(163, 102, 100, 18));
    for (QLabel *l : { Label1, Label2 }) {
        l->setFont(calibri(15, false));
        l->setPalette(labelPalette);
        l->setLayoutDirection(Qt::LeftToRight);
    }

    cxTextEdit1 = new QComboBox(Panel2);
    cxTextEdit1->setObjectName(QStringLiteral("cxTextEdit1"));
    cxTextEdit1->setGeometry(159, 59, 223, 32);
    cxTextEdit1->setFont(calibri(19, true));
    cxTextEdit1->setEditable(true);
    cxTextEdit1->setInsertPolicy(QComboBox::NoInsert);
    cxTextEdit1->setCompleter(nullptr);
    cxTextEdit1->setMaxVisibleItems(12);
    cxTextEdit1->lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    cxTextEdit1->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    cxTextEdit1->lineEdit()->setAcceptDrops(false);
    cxTextEdit1->lineEdit()->installEventFilter(this);
    cxTextEdit1->installEventFilter(this);

    cxTextEdit2 = new QLineEdit(Panel2);
    cxTextEdit2->setObjectName(QStringLiteral("cxTextEdit2"));
    cxTextEdit2->setGeometry(159, 121, 223, 32);
    cxTextEdit2->setFont(calibri(19, false));
    cxTextEdit2->setAlignment(Qt::AlignRight | Qt::AlignVCenter | Qt::AlignAbsolute);
    cxTextEdit2->setEchoMode(QLineEdit::Password);
    cxTextEdit2->setPlaceholderText(QStringLiteral("Saisse le mot de passe"));
    cxTextEdit2->installEventFilter(this);

    cxButton4 = new QToolButton(Panel2);
    cxButton4->setObjectName(QStringLiteral("cxButton4"));
    cxButton4->setGeometry(388, 124, 38, 28);
    cxButton4->setAutoRaise(true);
    cxButton4->setFocusPolicy(Qt::NoFocus);
    cxButton4->setIcon(QIcon(QStringLiteral(":/login/eye.svg")));
    cxButton4->setIconSize(QSize(32, 32));
    connect(cxButton4, &QToolButton::clicked, this, &TPassw::cxButton4Click);

    cButton1 = new QPushButton(QStringLiteral("Entrer"), Panel2);
    cButton1->setObjectName(QStringLiteral("cButton1"));
    cButton1->setGeometry(167, 158, 107, 45);
    cButton1->setFont(calibri(15, true));
    cButton1->setIcon(QIcon(QStringLiteral(":/login/enter.svg")));
    cButton1->setIconSize(QSize(32, 32));
    cButton1->setStyleSheet(QStringLiteral("QPushButton { background: #CEED01; border: 1px solid #8FA500; }"
                                           "QPushButton:pressed { background: #B5D000; }"));
    connect(cButton1, &QPushButton::clicked, this, &TPassw::cButton1Click);

    cxButton1 = new QPushButton(QStringLiteral("Quitter"), Panel2);
    cxButton1->setObjectName(QStringLiteral("cxButton1"));
    cxButton1->setGeometry(280, 164, 101, 45);
    cxButton1->setFont(calibri(15, false));
    cxButton1->setFlat(true);
    cxButton1->setIcon(QIcon(QStringLiteral(":/login/quit.svg")));
    cxButton1->setIconSize(QSize(32, 32));
    cxButton1->setStyleSheet(QStringLiteral("QPushButton { background: transparent; border: none; }"
                                            "QPushButton:pressed { background: #E4DDD1; }"));
    connect(cxButton1, &QPushButton::clicked, this, &TPassw::cxButton1Click);

    for (QPushButton *button : { cButton1, cxButton1 }) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    Image1 = new QLabel(Panel2);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(13, 40, 125, 126);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(QIcon(QStringLiteral(":/login/picture.svg")).pixmap(QSize(100, 111)));
    // Decoration only: it takes no clicks (drawn normally, not greyed).
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label5 = label(Panel2, QStringLiteral("Label5"), QStringLiteral("Assistance : votre installateur"),
                   QRect(10, 250, 480, 20));
    Label5->setFont(calibri(13, false));
    Label5->setAlignment(Qt::AlignCenter);

    cxProgressBar1 = new QProgressBar(Panel2);
    cxProgressBar1->setObjectName(QStringLiteral("cxProgressBar1"));
    cxProgressBar1->setGeometry(0, 285 - 8, 500, 8);
    cxProgressBar1->setRange(0, 0); // runs back and forth; tells nothing of progress
    cxProgressBar1->setTextVisible(false);
    {
        QPalette p = cxProgressBar1->palette();
        p.setColor(QPalette::Highlight, QColor(0x6E, 0x6E, 0x6E));
        cxProgressBar1->setPalette(p);
    }

    setTabOrder(cxTextEdit1, cxTextEdit2);
}

void TPassw::setMessagePresenter(MessagePresenter newPresenter)
{
    presenter() = std::move(newPresenter);
}

void TPassw::setQuitFunction(std::function<void()> quit)
{
    quitFunction() = std::move(quit);
}

bool TPassw::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TPassw::showEvent(QShowEvent *event)
{
    // Centred over the window that opened it (the main window).
    if (!event->spontaneous() && parentWidget())
        move(parentWidget()->window()->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPassw::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the dialog: only "Quitter" and Ctrl+F4 do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TPassw::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_F4 && (key->modifiers() & Qt::ControlModifier)
            && !(key->modifiers() & Qt::AltModifier)) {
            close();
            return true;
        }
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == cxTextEdit1->lineEdit() || watched == cxTextEdit1) {
        if (enter) {
            cxTextEdit2->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (watched == cxTextEdit1->lineEdit())
            return userBoxKey(key);
    }
    if (watched == cxTextEdit2 && enter) {
        cButton1->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

/// Typing in the user box is a search: the typed letters are the start of a
/// listed name (without case), the box shows the first such name with the
/// rest selected. A letter that no name continues is refused; Backspace
/// takes back the last typed letter. The box thus never holds anything but a
/// listed name, or nothing.
bool TPassw::userBoxKey(QKeyEvent *key)
{
    QLineEdit *edit = cxTextEdit1->lineEdit();
    const QString text = edit->text();
    // What was typed: the text before the selected completion.
    const bool completionSelected
        = edit->hasSelectedText() && edit->selectionStart() + edit->selectedText().size() == text.size();
    const QString typed = completionSelected ? text.left(edit->selectionStart()) : text;

    auto show = [&](const QString &prefix) {
        if (prefix.isEmpty()) {
            cxTextEdit1->setCurrentIndex(-1);
            edit->clear();
            return true;
        }
        for (int i = 0; i < cxTextEdit1->count(); ++i) {
            const QString name = cxTextEdit1->itemText(i);
            if (name.startsWith(prefix, Qt::CaseInsensitive)) {
                cxTextEdit1->setCurrentIndex(i);
                edit->setText(name);
                edit->setSelection(int(prefix.size()), int(name.size() - prefix.size()));
                return true;
            }
        }
        return false;
    };

    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)
        || key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
        return true;
    if (key->key() == Qt::Key_Backspace) {
        show(typed.isEmpty() ? QString() : typed.chopped(1));
        return true;
    }
    if (key->key() == Qt::Key_Delete) {
        show(QString());
        return true;
    }
    const QString letters = key->text();
    const bool printable = !letters.isEmpty() && letters.at(0).isPrint()
        && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (printable) {
        show(typed + letters); // refused when no listed name goes on so
        return true;
    }
    return false; // moving the cursor, Up and Down through the list, Tab
}

void TPassw::FormShow()
{
    if (m_host.stopStartupTimer)
        m_host.stopStartupTimer();
    ErrorBox::guard(
        [this] {
            liste_admin.close();
            liste_admin.open();
            fillUserBox();
        },
        this);
}

void TPassw::fillUserBox()
{
    const QString current = cxTextEdit1->currentText();
    QStringList names;
    for (int i = 0; i < liste_admin.rowCount(); ++i) {
        const DbRow &row = liste_admin.row(i);
        names.append(row.at(liste_admin.fieldIndex(QStringLiteral("NAME"))).toText());
    }
    cxTextEdit1->clear();
    cxTextEdit1->addItems(names);
    cxTextEdit1->setCurrentIndex(int(names.indexOf(current)));
    cxTextEdit1->setEditText(names.contains(current) ? current : QString());
}

void TPassw::FormActivate()
{
    cxTextEdit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TPassw::cxButton1Click()
{
    close();
}

void TPassw::cxButton4Click()
{
    cxTextEdit2->setEchoMode(cxTextEdit2->echoMode() == QLineEdit::Password ? QLineEdit::Normal
                                                                            : QLineEdit::Password);
}

void TPassw::cButton1Click()
{
    ErrorBox::guard(
        [this] {
            UTILISAT.close();
            UTILISAT.setParam(0, DbValue(cxTextEdit1->currentText().trimmed()));
            UTILISAT.setParam(1, DbValue(cxTextEdit2->text())); // as typed
            UTILISAT.open();
            if (UTILISAT.isEmpty()) {
                failedAttempt();
                return;
            }
            UTILISAT.first();
            if (m_host.loggedIn)
                m_host.loggedIn(UTILISAT);
            done(QDialog::Accepted);
        },
        this);
}

void TPassw::failedAttempt()
{
    ++m_failedAttempts;
    if (m_failedAttempts >= 3) {
        present(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                Translator1->GetText(threeAttemptsMessage()), false);
        if (quitFunction())
            quitFunction()();
        else
            QCoreApplication::exit(0);
        return;
    }
    present(QMessageBox::Critical, QStringLiteral("Erreur"), wrongUserMessage(), true);
    cxTextEdit1->setFocus(Qt::OtherFocusReason);
}
