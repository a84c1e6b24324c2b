#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

// Who drives kart 1..4 in this race: a name (empty when the operator gave none) and whether the
// driver goes into the women's best-twenty table. One model for every view that shows a kart: the
// main window's "Žena" boxes, the drivers' window, the audience window and the live page, the results
// sheet, the kept race and the best-twenty insertion.
class DriverNames : public QObject {
    Q_OBJECT

public:
    static constexpr int KartCount = 4;

    explicit DriverNames(QObject* parent = nullptr);

    // Kart 1..4's name as given, possibly empty.
    QString name(int kart) const { return m_names.at(kart - 1); }
    // The name when known, else the kart's identifier "karaN".
    QString shownName(int kart) const;
    // The four names as given, kart 1 first.
    std::array<QString, KartCount> names() const { return m_names; }
    bool anyName() const;
    bool woman(int kart) const { return m_women.at(kart - 1); }

    // Blanks around a name are dropped. Gives the name fresh (see clearFromLastRace).
    void setName(int kart, const QString& name);
    void setWoman(int kart, bool woman);

    // A race ended: the names it was driven under are now the last race's.
    void markRaceEnded();
    // Empties the names that still stand from the last race; a name given since then stays, so that
    // drivers entered after the STOP for the next race are not lost at its START.
    void clearFromLastRace();

    static QString kartIdentifier(int kart) { return QStringLiteral("kara%1").arg(kart); }

    // The kept race's names beside its lap file "… karaK.txt" or "… karaK (n).txt":
    // "… jezdci.txt" or "… jezdci (n).txt"; empty for a path that is no kept lap file.
    static QString keptFileBeside(const QString& lapFilePath);
    // The driver of a kept lap file, from the names file beside it; empty without one.
    static QString keptNameOf(const QString& lapFilePath);
    // One line per kart, windows-1250 with CR LF. Throws UserError as the lap files do.
    static void save(const QString& path, const std::array<QString, KartCount>& names);
    static std::array<QString, KartCount> load(const QString& path);
    // Every name in the kept names files of the folder, each once, sorted.
    static QStringList keptNamesIn(const QString& folder);

signals:
    void changed();

private:
    std::array<QString, KartCount> m_names;
    std::array<bool, KartCount> m_women{};
    std::array<bool, KartCount> m_fromLastRace{};
};
