#pragma once

#include <QWidget>

#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
struct SettingsHooks;
struct TSettings;

// One page of the settings window. Each area of the program contributes its own page; the program's
// windows insert them into the window, which calls them at its events. Every editing control is the
// view of one TSettings field and writes it at once, so Cancel keeps the edits in effect. The page's
// caption is its window title.
class SettingsPage : public QWidget {
    Q_OBJECT

public:
    explicit SettingsPage(TSettings& settings, QWidget* parent = nullptr);

    // Puts every field the page shows into its control (after the settings file was read).
    void syncFromSettings();

    // The steps of reading and saving the settings file that this page carries out.
    virtual void fillSettingsHooks(SettingsHooks& hooks);
    // The window's events as they concern the page: shown, activated, closed.
    virtual void windowShown();
    virtual void windowActivated();
    virtual void windowClosed();
    // The window shows this page: it became the current one, or the window opened on it.
    virtual void pageShown();

signals:
    // OK and Cancel are disabled while the page's work is under way.
    void confirmEnabledChanged(bool enabled);

protected:
    TSettings& settings() const { return m_settings; }
    // Each binding connects the control to the field and adds a loader that shows the field.
    void bindCheck(QCheckBox* box, bool& field);
    // The range comes with the field's key in the settings table.
    void bindSpin(QSpinBox* spin, int& field);
    void bindEdit(QLineEdit* edit, QString& field);
    // The eight items of a bit list, bit i being item i.
    void bindMask(QListWidget* list, int& field);
    void bindChoice(QButtonGroup* group, int& field);
    void addLoader(std::function<void()> loader);
    // Fills a list with the eight data pins' items, all in view.
    static void fillBitList(QListWidget* list);

private:
    TSettings& m_settings;
    std::vector<std::function<void()>> m_loaders;
};
