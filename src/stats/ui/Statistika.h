#pragma once

#include "stats/LapChartSeries.h"

#include <QColor>
#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <memory>

class ColorBox;
class LapChartView;
class LapFileDialogs;
class LapList;
class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QCheckBox;
class QLabel;
class QLineSeries;
class QPrinter;
class QValueAxis;

// Calls out of the lap chart window into windows built after it.
struct StatHooks {
    // "Nejlepších dvacet časů": the best-twenty window, modal. Does nothing when empty.
    std::function<void()> showBestTwenty;
    // The printer set-up before either print: true when the operator confirms. Without it nothing is
    // printed.
    std::function<bool(QPrinter& printer)> setUpPrinter;
};

// "Statistika": the laps of the current race as charts. The large chart "Časy jednotlivých kol"
// draws a line per ticked kart, the four small charts each kart on its own; the lap lists are read
// anew at every redraw. The cross-hair reads values off the large chart, which can be saved as a
// picture, put on the clipboard and printed.
class TStat_Dlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int KartCount = LapChartSeries::KartCount;

    TStat_Dlg(const std::array<const LapList*, KartCount>& lapLists, QWidget* parent = nullptr);
    ~TStat_Dlg() override;

    StatHooks& hooks() { return m_hooks; }
    // The main window's save dialog, which the picture borrows.
    void setSaveDialogs(LapFileDialogs* dialogs) { m_saveDialogs = dialogs; }
    // The printer both prints go to; the window's own (made when first needed) until another is
    // given.
    void setPrinter(QPrinter* printer) { m_printer = printer; }
    QPrinter& printer();

    // Rebuilds the four series from the lap lists and the ticked boxes; throws UserError at an
    // entry that is no lap time, with the series drawn as far as they were built.
    void PrvniClick();
    // Ticks every kart that has laps and draws them.
    void FormActivate();
    // Unticks all four karts, which empties the charts.
    void FormClose();
    void CheckBox1Click();
    void UlozBMP();
    void UlozDOClipb();
    void BitBtn9Click();
    void BitBtn2Click();
    void TopTen10Click();
    void BitBtn1Click();

    // The large chart on white at its size on screen.
    QImage chartPicture();
    // Writes chartPicture() as a BMP file; throws UserError when it cannot be written.
    void saveChartPicture(const QString& path);
    // The two prints on a printer already set up.
    void printWholeWindow(QPrinter& printer);
    void printChart(QPrinter& printer);

    // Every way of closing ends here: FormClose, then the dialog's own.
    void done(int result) override;

    const LapChartSeries& series() const { return m_series; }
    LapChartView* largeChart() const { return m_chart1; }
    QChartView* smallChart(int kart) const { return m_smallViews.at(kart - 1); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildLargeChart();
    void buildSmallChart(int kart);
    void drawSeries();
    void applyColours();
    QColor kartColour(int kart) const;
    void showReadout(double time, double lap);

    std::array<const LapList*, KartCount> m_lapLists;
    LapChartSeries m_series;
    StatHooks m_hooks;
    LapFileDialogs* m_saveDialogs = nullptr;
    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter* m_printer = nullptr;

    std::array<QCheckBox*, KartCount> m_karts{};
    std::array<ColorBox*, KartCount> m_colorBoxes{};
    QCheckBox* m_blackAndWhite = nullptr;
    QLabel* m_readout = nullptr;

    QChart* m_largeChart = nullptr;
    LapChartView* m_chart1 = nullptr;
    QValueAxis* m_lapAxis = nullptr;
    QCategoryAxis* m_timeAxis = nullptr;
    std::array<QLineSeries*, KartCount> m_lines{};

    std::array<QChartView*, KartCount> m_smallViews{};
    std::array<QLineSeries*, KartCount> m_smallLines{};
    std::array<QAreaSeries*, KartCount> m_smallAreas{};
    std::array<QValueAxis*, KartCount> m_smallLapAxes{};
    std::array<QCategoryAxis*, KartCount> m_smallTimeAxes{};
};
