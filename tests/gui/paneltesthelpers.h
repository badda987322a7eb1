#pragma once

// Helpers of the tool panel and view tests.
#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "document/stagedocument.h"
#include "host/host.h"
#include "panels/dataexchange.h"
#include "picture/pictureloader.h"
#include "stage/CRKeditDoc.h"
#include "view/CRKeditView.h"

// Collects the messages the panels show instead of opening message boxes.
struct Messages {
    QStringList shown;
    PanelMessageHandler previous;
    Messages() {
        previous = setPanelMessageHandler([this](const QString& m) { shown << m; });
    }
    ~Messages() { setPanelMessageHandler(previous); }
};

// Runs what is queued (posted commands, repaints).
inline void settleEvents() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A stage document shown by one view in a window of its own, its first paint done (so its
// properties panel is open and filled).
struct StageView {
    explicit StageView(bool withPicture = true) {
        document = std::make_unique<StageDocument>();
        CRKeditDoc& doc = document->doc();
        if (withPicture) {
            struct Silent : Host {
                void messageBox(const Message& message) override {
                    ADD_FAILURE() << messageText(message);
                }
            } host;
            EXPECT_TRUE(loadPicture(RK_SOURCE_DIR "/res/sample/sample.JPG", doc.picture, host));
            doc.picturePending = true;
            doc.graphicWidth = "640";
            doc.graphicHeight = "480";
        }
        view = std::make_unique<CRKeditView>(document.get());
        view->resize(640, 630);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        settleEvents();
        EXPECT_NE(view->propertyPanel, nullptr);
    }
    ~StageView() {
        view.reset();
        settleEvents();
    }
    CRKeditDoc& doc() { return document->doc(); }

    Messages messages;
    std::unique_ptr<StageDocument> document;
    std::unique_ptr<CRKeditView> view;
};
