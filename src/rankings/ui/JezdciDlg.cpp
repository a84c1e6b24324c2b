#include "rankings/ui/JezdciDlg.h"

#include "base/UserError.h"
#include "config/DataFolder.h"
#include "config/TSettings.h"
#include "config/TextCodec.h"
#include "rankings/BestTwentyFiles.h"
#include "rankings/BestTwentyRow.h"
#include "timing/DriverNames.h"

#include <QCheckBox>
#include <QCompleter>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QVBoxLayout>

#include <algorithm>

bool fitsWindows1250(const QString& text) {
    const bool breaksTheLine = text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\n')) ||
                               text.contains(QLatin1Char('\r'));
    return !breaksTheLine && TextCodec::unencodable(text).isEmpty();
}

TJezdciDlg::TJezdciDlg(DriverNames& names, TSettings& settings, const QString& dataFolder, QWidget* parent)
    : QDialog(parent), m_names(names), m_settings(settings), m_dataFolder(dataFolder) {
    setObjectName(QStringLiteral("TJezdciDlg"));
    setWindowTitle(QStringLiteral("Jezdci"));
    setModal(false);
    m_suggestions = new QStringListModel(this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Jméno jezdce")), 0, 1);
    for (int k = 1; k <= 4; ++k) {
        grid->addWidget(new QLabel(QStringLiteral("Kára %1").arg(k)), k, 0);
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Jmeno%1").arg(k));
        field->setMinimumWidth(220);
        auto* completer = new QCompleter(m_suggestions, field);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        field->setCompleter(completer);
        grid->addWidget(field, k, 1);
        auto* woman = new QCheckBox(QStringLiteral("Žena"), this);
        woman->setObjectName(QStringLiteral("JezdciZena%1").arg(k));
        woman->setToolTip(QStringLiteral("Na této motokáře jezdí žena."));
        grid->addWidget(woman, k, 2);
        m_fields[k - 1] = field;
        m_women[k - 1] = woman;

        connect(field, &QLineEdit::textEdited, this, [this, k](const QString& text) { nameEdited(k, text); });
        // Enter moves on to the next kart's field, the last one back to the first.
        connect(field, &QLineEdit::returnPressed, this, [this, k] {
            QLineEdit* next = m_fields[k % 4];
            next->setFocus();
            next->selectAll();
        });
        connect(woman, &QCheckBox::toggled, this, [this, k](bool on) { m_names.setWoman(k, on); });
    }

    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("JezdciUpozorneni"));
    m_hint->setStyleSheet(QStringLiteral("color: red"));
    m_hint->setWordWrap(true);
    m_hint->hide();

    m_clear = new QCheckBox(QStringLiteral("Vymazat jména po závodě"), this);
    m_clear->setObjectName(QStringLiteral("VymazatJmena"));
    m_clear->setToolTip(QStringLiteral("Jména z minulého závodu se při startu dalšího vymažou;\n"
                                       "jména zadaná po skončení závodu zůstanou."));
    connect(m_clear, &QCheckBox::toggled, this, [this](bool on) { m_settings.Zavod.VymazatJmena = on; });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_hint);
    layout->addWidget(m_clear);

    connect(&m_names, &DriverNames::changed, this, &TJezdciDlg::showNames);
    showNames();
}

void TJezdciDlg::showDrivers() {
    m_suggestions->setStringList(suggestions());
    m_clear->setChecked(m_settings.Zavod.VymazatJmena);
    showNames();
    show();
    raise();
    activateWindow();
}

QStringList TJezdciDlg::suggestions() const {
    QStringList all;
    for (BestTwentyFiles::Table table : {BestTwentyFiles::Men, BestTwentyFiles::Women}) {
        try {
            for (const BestTwentyRow& row : BestTwentyFiles::firstRows(m_dataFolder, table, 20))
                all << row.name();
        } catch (const UserError&) {
            // A table that cannot be read offers nothing here; its own window says why.
        }
    }
    all << DriverNames::keptNamesIn(DataFolder::resolve(m_dataFolder, QStringLiteral("vysledky")));
    QStringList names;
    for (const QString& name : all) {
        const QString trimmed = name.trimmed();
        const bool placeholder = trimmed.isEmpty() || trimmed == BestTwentyRow::emptyName() ||
                                 (trimmed.size() == 5 && trimmed.startsWith(QStringLiteral("kara")));
        if (!placeholder)
            names << trimmed;
    }
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    return names;
}

void TJezdciDlg::nameEdited(int kart, const QString& text) {
    QLineEdit* field = m_fields[kart - 1];
    const QString unstorable = TextCodec::unencodableHint(text);
    if (!fitsWindows1250(text)) {
        // Back to the last name that can be stored; the cursor stays where the operator typed.
        const int cursor = field->cursorPosition();
        field->setText(m_names.name(kart));
        field->setCursorPosition(std::min(cursor - 1, int(field->text().size())));
        m_hint->setText(!unstorable.isEmpty()
                            ? unstorable
                            : QStringLiteral("Jméno nesmí obsahovat tabulátor ani konec řádku."));
        m_hint->show();
        return;
    }
    m_hint->hide();
    m_names.setName(kart, text);
}

void TJezdciDlg::showNames() {
    for (int k = 1; k <= 4; ++k) {
        QLineEdit* field = m_fields[k - 1];
        // A field being typed in keeps its blanks; the model holds the name trimmed.
        if (field->text().trimmed() != m_names.name(k))
            field->setText(m_names.name(k));
        m_women[k - 1]->setChecked(m_names.woman(k));
    }
}
