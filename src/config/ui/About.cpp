#include "config/ui/About.h"

#include "base/ErrorBoundary.h"
#include "platform/ShellOpen.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

QList<int> TAboutBox::fadeInLevels() {
    QList<int> levels{0};
    for (int level = 9; level <= 253; level += 4)
        levels << level;
    levels << 255;
    return levels;
}

QList<int> TAboutBox::fadeOutLevels() {
    QList<int> levels;
    for (int level = 246; level >= 2; level -= 4)
        levels << level;
    levels << 0;
    return levels;
}

QString TAboutBox::versionHistory() {
    return QStringLiteral("Historie verzí programu tarvolin\n\n"
                          "verze 2.0\n"
                          " - čidla na sériovém portu s naučenými sekvencemi\n"
                          " - tabulky Nej 20 zvlášť pro muže a ženy, jejich obrázky a odeslání na FTP\n"
                          " - výstup na TV pro diváky, graf časů kol\n"
                          " - evidence motohodin, údržby a tankování motokár\n"
                          " - zálohování a obnova dat\n\n"
                          "verze 1.0\n"
                          " - měření až čtyř motokár na paralelním portu\n"
                          " - semafor, externí start tlačítko, tisk výsledků");
}

TAboutBox::TAboutBox(ShellOpen* shell, QWidget* parent, ProgramVersion version)
    : QDialog(parent), m_shell(shell) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("O programu tarvolin"));
    setModal(true);

    auto* picture1 = addLabel(this, QStringLiteral("ProgramIcon"), QString());
    picture1->setPixmap(flagPicture());
    auto* picture2 = addLabel(this, QStringLiteral("Image1"), QString());
    picture2->setPixmap(stopwatchPicture());

    auto* product = addLabel(this, QStringLiteral("ProductName"), version.productLine());
    QFont big = product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    product->setFont(big);
    auto* build = addLabel(this, QStringLiteral("Version"), version.buildLine());
    auto* maker = addLabel(this, QStringLiteral("Copyright"), QStringLiteral("Orvex Software"));
    QFont bold = maker->font();
    bold.setBold(true);
    maker->setFont(bold);
    auto* author =
        addLabel(this, QStringLiteral("Comments"), QStringLiteral("Autor: vývojový tým Orvex Software"));
    auto* contact = addLabel(this, QStringLiteral("Kontakt"),
                             QStringLiteral("Kontakt: <a href=\"mailto:%1\">%1</a>").arg(contactAddress()));
    contact->setTextFormat(Qt::RichText);
    contact->setOpenExternalLinks(false);
    contact->setCursor(Qt::PointingHandCursor);
    // The mail program is started through the platform's shell service, which may fail.
    connect(contact, &QLabel::linkActivated, this,
            ErrorBoundary::guardedSlot(this, &TAboutBox::ContactClick));

    m_dataFolder = addLabel(this, QStringLiteral("DataFolder"), QString());
    m_dataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_dataFolder->setWordWrap(true);
    m_dataFolder->hide();

    auto* info = new QPushButton(QStringLiteral("&Informace"), this);
    info->setObjectName(QStringLiteral("InfoBtn"));
    info->setAutoDefault(false);
    auto* closeButton = new QPushButton(QStringLiteral("&Zavřít"), this);
    closeButton->setObjectName(QStringLiteral("OKButton"));
    closeButton->setDefault(true);
    connect(info, &QPushButton::clicked, this, &TAboutBox::InformaceClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* grid = new QGridLayout(panel);
    grid->addWidget(picture1, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(build, 1, 1, Qt::AlignTop);
    grid->addWidget(maker, 2, 1);
    grid->addWidget(author, 3, 1);
    grid->addWidget(contact, 4, 1);
    grid->addWidget(m_dataFolder, 5, 1);
    grid->addWidget(picture2, 2, 0, 3, 1, Qt::AlignBottom);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(info);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
}

void TAboutBox::setDataFolder(const QString& folder) {
    m_dataFolder->setText(QStringLiteral("Složka s daty: %1").arg(folder));
    m_dataFolder->setVisible(!folder.isEmpty());
}

void TAboutBox::ContactClick() {
    if (m_shell)
        m_shell->openUrl(QUrl(QStringLiteral("mailto:") + contactAddress()));
}

void TAboutBox::InformaceClick() {
    QMessageBox::information(this, QStringLiteral("Informace"), versionHistory());
}

void TAboutBox::runFade(const QList<int>& levels) {
    for (int level : levels) {
        setWindowOpacity(level / 255.0);
        QCoreApplication::processEvents();
        if (m_fadeStepDelay > 0 && level != levels.last())
            QThread::msleep(static_cast<unsigned long>(m_fadeStepDelay));
    }
}

void TAboutBox::fadeIn() {
    m_fadedIn = true;
    runFade(fadeInLevels());
}

void TAboutBox::fadeOut() {
    runFade(fadeOutLevels());
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || m_fadedIn)
        return;
    setWindowOpacity(0.0);
    // Once the window is up and active; a fade inside the show itself would not be seen.
    QTimer::singleShot(0, this, [this] {
        if (isVisible() && !m_fadedIn)
            fadeIn();
    });
}

void TAboutBox::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        m_fadedIn = false;
}

void TAboutBox::done(int result) {
    if (m_closing)
        return;
    m_closing = true;
    if (isVisible())
        fadeOut();
    QDialog::done(result);
    m_closing = false;
}

QPixmap TAboutBox::flagPicture() {
    // A chequered flag on a pole.
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 60, 30), 3));
    painter.drawLine(8, 6, 8, 60);
    constexpr int cell = 8;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 6; ++col) {
            const int wave = (col % 2 == 0) ? 0 : 2;
            painter.fillRect(10 + col * cell, 6 + row * cell + wave, cell, cell,
                             (row + col) % 2 == 0 ? Qt::black : Qt::white);
        }
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(10, 6, 6 * cell, 4 * cell + 2);
    return pixmap;
}

QPixmap TAboutBox::stopwatchPicture() {
    // A stopwatch showing a lap.
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 200, 205));
    painter.setPen(QPen(QColor(60, 60, 70), 2));
    painter.drawRect(28, 2, 8, 7);
    painter.setBrush(QColor(250, 250, 245));
    painter.setPen(QPen(QColor(180, 20, 20), 4));
    painter.drawEllipse(QPointF(32, 36), 24, 24);
    painter.setPen(QPen(QColor(60, 60, 70), 1));
    for (int tick = 0; tick < 12; ++tick) {
        painter.save();
        painter.translate(32, 36);
        painter.rotate(tick * 30);
        painter.drawLine(0, -19, 0, -16);
        painter.restore();
    }
    painter.setPen(QPen(QColor(20, 20, 20), 2));
    painter.drawLine(32, 36, 32, 20);
    painter.drawLine(32, 36, 44, 42);
    return pixmap;
}
