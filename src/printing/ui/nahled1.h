#pragma once

#include "printing/ui/PreviewWindow.h"

#include <QImage>

#include <array>
#include <functional>

// The best-twenty preview "Náhled tisku  -  Nejlepších dvacet časů": the best-twenty sheet on one A4
// portrait page, with the two tables as the best-twenty window shows them.
class TNahled1Dlg : public PreviewWindow {
    Q_OBJECT

public:
    TNahled1Dlg(PrinterSetup& printers, QWidget* parent = nullptr);

    // The men's and the women's table pictures as the best-twenty window shows them now.
    void setPictureSource(std::function<std::array<QImage, 2>()> source) {
        m_pictureSource = std::move(source);
    }

    void BuildBestTwentySheet();

protected:
    void buildSheet() override { BuildBestTwentySheet(); }
    QString pdfProposal() const override { return QStringLiteral("top20"); }
    void activate() override;

private:
    std::function<std::array<QImage, 2>()> m_pictureSource;
};
