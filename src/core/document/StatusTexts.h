#pragma once

#include <QString>
#include <QStringList>

namespace pemo {

class CPatDoc;
class InfoRecord;
struct PlaceholderSources;

// The texts of the ten status-bar panes that describe the document and its current
// record (the panes after the message pane).
class StatusTexts {
public:
    static constexpr int kPaneCount = 10;
    // The first pane's indicator id; the others follow.
    static constexpr int kFirstPaneId = 34061;

    // The texts each pane is made as wide as.
    static QStringList samples();

    // 共%d项, 第%d项, 打印:%d项, 份数:%d份, background category, background name,
    // template name, page size, 共%d块 and the selection. Panes 5 to 8 end in "(*)"
    // when every record agrees with the current one up to that pane.
    static QStringList compute(const CPatDoc& doc);

    // Pane 10: "选择%d块", or for one selected block the name of its kind.
    static QString selection(const InfoRecord& record, const PlaceholderSources& sources);
};

}  // namespace pemo
