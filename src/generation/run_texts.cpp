#include "generation/run_texts.h"

#include "foundation/language.h"

namespace galvora {

Infotexte infotexte_laden() {
    auto text = [](const char* key) { return inq("Erzeugung", key); };
    Infotexte t;
    t.InfHTMLIndex = text("InfHTMLIndex");
    t.InfHTMLThumb = text("InfHTMLThumb");
    t.InfHTMLImage = text("InfHTMLImage");
    t.InfDecoCopy = text("InfDecoCopy");
    t.InfThumbsDelete = text("InfThumbsDelete");
    t.InfClonesDelete = text("InfClonesDelete");
    t.InfHTMLDelete = text("InfHTMLDelete");
    t.InfHTMLIndexCreate = text("InfHTMLIndexCreate");
    t.InfDateCreated = text("InfDateCreated");
    t.InfHTMLFrame = text("InfHTMLFrame");
    t.InfHTMLFrameCreate = text("InfHTMLFrameCreate");
    t.InfCollectingData = text("InfCollectingData");
    t.InfImageLog = text("InfImageLog");
    t.InfLog = text("InfLog");
    t.InfLogStopped = text("InfLogStopped");
    return t;
}

}  // namespace galvora
