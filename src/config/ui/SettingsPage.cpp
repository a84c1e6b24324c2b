#include "config/ui/SettingsPage.h"

#include "config/SettingsTable.h"
#include "config/TSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include <optional>

SettingsPage::SettingsPage(TSettings& settings, QWidget* parent) : QWidget(parent), m_settings(settings) {}

void SettingsPage::syncFromSettings() {
    // A control whose change acts at once (the start entry) may fail; its handler reports that, and
    // the remaining controls are still brought in line.
    for (const auto& load : m_loaders)
        load();
}

void SettingsPage::fillSettingsHooks(SettingsHooks&) {}
void SettingsPage::windowShown() {}
void SettingsPage::windowActivated() {}
void SettingsPage::windowClosed() {}
void SettingsPage::pageShown() {}

void SettingsPage::addLoader(std::function<void()> loader) {
    m_loaders.push_back(std::move(loader));
}

void SettingsPage::fillBitList(QListWidget* list) {
    for (int bit = 0; bit < 8; ++bit) {
        auto* item = new QListWidgetItem(QStringLiteral("Bit%1: Pin%2").arg(bit).arg(bit + 2), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
    // All eight bits in view, nothing more.
    list->setFixedHeight(list->sizeHintForRow(0) * list->count() + 2 * list->frameWidth() + 2);
}

void SettingsPage::bindCheck(QCheckBox* box, bool& field) {
    connect(box, &QCheckBox::toggled, this, [&field](bool on) { field = on; });
    addLoader([box, &field] { box->setChecked(field); });
}

void SettingsPage::bindSpin(QSpinBox* spin, int& field) {
    // The range comes with the field's key in the settings table, the one place that keeps it; the
    // form holds none. Set before the field is connected, so that the value the range moves the box
    // to cannot reach the setting.
    const std::optional<SettingRange> range = settingRange(m_settings, field);
    Q_ASSERT_X(range, "SettingsPage::bindSpin", "a number field edits a setting without a range");
    if (range)
        spin->setRange(range->minimum, range->maximum);
    connect(spin, &QSpinBox::valueChanged, this, [&field](int value) { field = value; });
    // The field's range clamps a loaded value, and the clamped value is what the setting holds.
    addLoader([spin, &field] {
        spin->setValue(field);
        field = spin->value();
    });
}

void SettingsPage::bindEdit(QLineEdit* edit, QString& field) {
    connect(edit, &QLineEdit::textChanged, this, [&field](const QString& text) { field = text; });
    addLoader([edit, &field] { edit->setText(field); });
}

void SettingsPage::bindMask(QListWidget* list, int& field) {
    auto maskOf = [list] {
        int mask = 0;
        for (int bit = 0; bit < list->count(); ++bit) {
            if (list->item(bit)->checkState() == Qt::Checked)
                mask |= 1 << bit;
        }
        return mask;
    };
    connect(list, &QListWidget::itemChanged, this, [&field, maskOf] { field = maskOf(); });
    addLoader([list, &field, maskOf] {
        const int mask = field; // each item's change rewrites the field, so work from a copy
        for (int bit = 0; bit < list->count(); ++bit)
            list->item(bit)->setCheckState(mask & (1 << bit) ? Qt::Checked : Qt::Unchecked);
        field = maskOf();
    });
}

void SettingsPage::bindChoice(QButtonGroup* group, int& field) {
    connect(group, &QButtonGroup::idClicked, this, [&field](int id) { field = id; });
    addLoader([group, &field] {
        if (QAbstractButton* button = group->button(field)) {
            button->setChecked(true);
            return;
        }
        // A stored value that no item stands for (a priority of 7 set by hand) is none of the items:
        // none is shown ticked, and the value is kept until the operator picks one.
        group->setExclusive(false);
        if (QAbstractButton* checked = group->checkedButton())
            checked->setChecked(false);
        group->setExclusive(true);
    });
}
