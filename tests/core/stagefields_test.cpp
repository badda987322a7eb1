// The field table covers every member of the document, the properties panel's values and the
// export dialog's values, and every field it lists is recorded for undo, written, shown and
// carried by each transfer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "html/htmlexportvalues.h"
#include "stage/CRKeditDoc.h"
#include "stage/propertyvalues.h"
#include "stage/stagechange.h"
#include "stage/stagefields.h"
#include "stage/stagerecord.h"

namespace {

// The addresses of every data member, in declared order. The bindings' sizes are checked by
// the compiler: a member added or removed stops this file from building until the lists and
// the tests below take it in.
std::vector<const void*> documentMembers(const CRKeditDoc& d) {
    const auto& [m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15, m16, m17,
                 m18, m19, m20, m21, m22, m23, m24, m25, m26, m27, m28, m29, m30, m31, m32, m33,
                 m34, m35, m36, m37, m38, m39] = d;
    return {&m0,  &m1,  &m2,  &m3,  &m4,  &m5,  &m6,  &m7,  &m8,  &m9,  &m10, &m11, &m12, &m13,
            &m14, &m15, &m16, &m17, &m18, &m19, &m20, &m21, &m22, &m23, &m24, &m25, &m26, &m27,
            &m28, &m29, &m30, &m31, &m32, &m33, &m34, &m35, &m36, &m37, &m38, &m39};
}
std::vector<const void*> panelMembers(const PropertyValues& p) {
    const auto& [m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15, m16, m17,
                 m18, m19, m20, m21, m22, m23, m24, m25, m26, m27, m28, m29, m30] = p;
    return {&m0,  &m1,  &m2,  &m3,  &m4,  &m5,  &m6,  &m7,  &m8,  &m9,  &m10,
            &m11, &m12, &m13, &m14, &m15, &m16, &m17, &m18, &m19, &m20, &m21,
            &m22, &m23, &m24, &m25, &m26, &m27, &m28, &m29, &m30};
}
std::vector<const void*> exportMembers(const HtmlExportValues& v) {
    const auto& [m0, m1, m2, m3, m4, m5] = v;
    return {&m0, &m1, &m2, &m3, &m4, &m5};
}

const void* documentMember(const CRKeditDoc& d, const StageField& f) {
    if (f.text)
        return &(d.*f.text);
    if (f.flag)
        return &(d.*f.flag);
    if (f.colour)
        return &(d.*f.colour);
    return nullptr;
}

// A value other than `doc`'s for the field, one every transfer carries.
void changeField(CRKeditDoc& doc, const StageField& f) {
    switch (f.kind) {
    case FieldKind::flag:
        doc.*f.flag = 1 - doc.*f.flag;
        break;
    case FieldKind::colour:
        doc.*f.colour ^= 0x123456;
        break;
    case FieldKind::ballRate:
    case FieldKind::barRate:
        doc.*f.text = " 50%";
        break;
    case FieldKind::leafName:
        doc.*f.text = "37.JPG";
        break;
    case FieldKind::command:
        doc.*f.text = "37\r\n";
        break;
    case FieldKind::version:
    case FieldKind::text:
        doc.*f.text = "37";
        break;
    case FieldKind::block:
        doc.cell(1, 2) = 37;
        break;
    }
}

// Everything a stage keeps: the record and the export values it does not hold.
std::string kept(const CRKeditDoc& doc) {
    return writeStageRecord(doc) + '|' + doc.version + '|' + doc.configFileName + '|' +
           doc.annotationPosition;
}

} // namespace

TEST(StageFieldTable, CoversEveryMemberOfTheDocumentOnce) {
    const CRKeditDoc doc;
    for (const void* member : documentMembers(doc)) {
        const auto fields =
            std::count_if(documentFields().begin(), documentFields().end(),
                          [&](const StageField& f) { return documentMember(doc, f) == member; });
        if (member == &doc.block) {
            // The grid is the block list's field, which names no member.
            EXPECT_EQ(fields, 0);
        } else if (member == &doc.picture || member == &doc.picturePending) {
            EXPECT_EQ(fields, 0) << "the picture is loaded, not edited";
        } else {
            EXPECT_EQ(fields, 1) << "member at offset "
                                 << static_cast<const char*>(member) -
                                        reinterpret_cast<const char*>(&doc);
        }
    }
    for (const StageField& f : documentFields())
        EXPECT_EQ(documentMember(doc, f) == nullptr, f.kind == FieldKind::block) << f.key;
}

TEST(StageFieldTable, CoversEveryPanelAndExportValueOnce) {
    const PropertyValues panel;
    for (const void* member : panelMembers(panel)) {
        const auto fields = std::count_if(
            documentFields().begin(), documentFields().end(), [&](const StageField& f) {
                return (f.panelNumber && &(panel.*f.panelNumber) == member) ||
                       (f.panelText && &(panel.*f.panelText) == member);
            });
        // The runtime size is derived and only shown.
        const bool shownOnly = member == &panel.runtimeWidth || member == &panel.runtimeHeight;
        EXPECT_EQ(fields, shownOnly ? 0 : 1);
    }
    const HtmlExportValues values;
    for (const void* member : exportMembers(values)) {
        const auto fields = std::count_if(
            documentFields().begin(), documentFields().end(), [&](const StageField& f) {
                return (f.exportText && &(values.*f.exportText) == member) ||
                       (f.exportColour && &(values.*f.exportColour) == member);
            });
        EXPECT_EQ(fields, 1);
    }
}

TEST(StageFieldTable, PanelFieldsAreFoundByTheirMemberAndTextsAreLabelled) {
    for (const StageField& f : documentFields()) {
        if (f.panelNumber) {
            EXPECT_EQ(findPanelField(f.panelNumber), &f) << f.key;
        }
        if (f.panelText) {
            EXPECT_EQ(findPanelField(f.panelText), &f) << f.key;
        }
        // The panel names every setting but its check boxes by the table's label.
        const bool edited = f.panelNumber || f.panelText;
        EXPECT_EQ(!f.label.empty(), edited && f.kind != FieldKind::flag) << f.key;
    }
    EXPECT_EQ(findPanelField(&PropertyValues::runtimeWidth), nullptr);
    EXPECT_EQ(findPanelField(static_cast<std::string PropertyValues::*>(nullptr)), nullptr);
}

TEST(StageFieldTable, RecordKeysAreTheRecordsFieldsOnly) {
    for (const StageField& f : documentFields()) {
        EXPECT_EQ(findStageField(f.key), f.inRecord ? &f : nullptr) << f.key;
        // A value the export dialog edits belongs to the export's scope.
        if (f.exportText || f.exportColour) {
            EXPECT_EQ(f.scope, FieldScope::exportValue) << f.key;
        }
    }
    EXPECT_EQ(stageFields().size(), stageFieldCount);
    EXPECT_EQ(findStageField("configFileName"), nullptr);
    EXPECT_EQ(parseStageRecord("version=RK&configFileName=x&").configFileName, "");
}

// Each field changed alone: the undo step holds exactly it and gives the stage back byte for
// byte; the record, the panel and the export dialog each see the new value and carry it.
TEST(StageFieldTable, EveryFieldIsRecordedUndoneWrittenAndCarried) {
    for (const StageField& f : documentFields()) {
        SCOPED_TRACE(std::string(f.key));
        CRKeditDoc before;
        before.graphicWidth = "640"; // a stage with cells, so the block list holds them
        before.graphicHeight = "480";
        CRKeditDoc doc = before;
        changeField(doc, f);
        const StageChange change = StageChange::between(before, doc);
        ASSERT_FALSE(change.empty());
        if (f.kind == FieldKind::block) {
            EXPECT_TRUE(change.changedFields().empty());
            EXPECT_FALSE(change.grid().empty());
        } else {
            EXPECT_EQ(change.changedFields(), std::vector<const StageField*>{&f});
            EXPECT_TRUE(change.grid().empty());
        }
        CRKeditDoc undone = doc;
        change.apply(undone, false);
        EXPECT_EQ(kept(undone), kept(before));
        change.apply(undone, true);
        EXPECT_EQ(kept(undone), kept(doc));

        // The version is always written "RK".
        if (f.inRecord && f.kind != FieldKind::version) {
            EXPECT_NE(writeStageRecord(doc), writeStageRecord(before));
        }
        if (f.inRecord && f.kind != FieldKind::version && f.kind != FieldKind::block) {
            // Read back, the record gives the new value (the version aside, which it sets).
            CRKeditDoc read = parseStageRecord(writeStageRecord(doc));
            read.version = doc.version;
            EXPECT_TRUE(StageChange::between(read, doc).empty());
        }

        PropertyValues panel, beforePanel;
        documentToPanel(doc, panel);
        documentToPanel(before, beforePanel);
        const bool onPanel = f.panelNumber || f.panelText;
        EXPECT_EQ(f.panelNumber ? panel.*f.panelNumber != beforePanel.*f.panelNumber
                                : f.panelText && panel.*f.panelText != beforePanel.*f.panelText,
                  onPanel);
        CRKeditDoc fromPanel = before;
        panelToDocument(panel, fromPanel);
        if (onPanel) {
            EXPECT_EQ(StageChange::between(fromPanel, doc).changedFields(),
                      std::vector<const StageField*>{});
        }

        const bool exported = f.exportText || f.exportColour;
        EXPECT_EQ(HtmlExportValues::from(doc) == HtmlExportValues::from(before), !exported);
        CRKeditDoc fromExport = before;
        EXPECT_EQ(HtmlExportValues::from(doc).storeInto(fromExport), exported);
        if (exported) {
            EXPECT_TRUE(StageChange::between(fromExport, doc).empty());
        }
    }
}
