#pragma once
// The fourteen progress and log texts of a run, from the current language's
// section "Erzeugung"; loaded afresh at the start of every run.
#include <string>

namespace galvora {

struct Infotexte {
    std::string InfHTMLIndex;
    std::string InfHTMLThumb;
    std::string InfHTMLImage;
    std::string InfDecoCopy;
    std::string InfThumbsDelete;
    std::string InfClonesDelete;
    std::string InfHTMLDelete;
    std::string InfHTMLIndexCreate;
    std::string InfDateCreated;
    std::string InfHTMLFrame;
    std::string InfHTMLFrameCreate;
    std::string InfCollectingData;
    std::string InfImageLog;
    std::string InfLog;
    std::string InfLogStopped;
};

Infotexte infotexte_laden();

}  // namespace galvora
