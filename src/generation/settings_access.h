#pragma once
// The settings the generation run reads, by their fixed index in the working
// settings table, and the three ways the run turns a setting's text into a
// value: "is 1" (the text as a number equals 1), integer, and plain text.
#include <cstdint>
#include <string>

#include "foundation/error.h"

namespace galvora {

enum GenerationSetting : int {
    kSetTypeSwitchFirst = 3,      // BMP ... TIF switches, 3 to 14 by picture type code
    kSetTypeExtensionFirst = 15,  // BMP_EXT ... TIF_EXT, switch index + 12
    kSetDirLevel = 27,
    kSetFilter = 30,
    kSetImageOracle = 31,
    kSetThumbnails = 33,
    kSetThumbDirname = 34,
    kSetThumbClone = 35,
    kSetThumbdirClean = 36,
    kSetThumbSize = 37,
    kSetThumbWidth = 38,
    kSetThumbHeight = 39,
    kSetThumbSelectedSide = 40,
    kSetThumbFramefill = 41,
    kSetThumbFramefillColor = 42,
    kSetThumbFramefillColorFits = 43,
    kSetThumbQuality = 44,
    kSetThumbEnlarge = 45,
    kSetGenerateClones = 52,
    kSetCloneConvert = 56,
    kSetCloneSize = 58,
    kSetCloneWidth = 59,
    kSetCloneHeight = 60,
    kSetCloneSelectedSide = 61,
    kSetCloneOnlyIfNewer = 62,
    kSetCloneDirclean = 63,
    kSetCloneQuality = 64,
    kSetCloneMaxsize = 65,
    kSetCloneMaxsizeBytes = 66,
    kSetCloneMinQuality = 67,
    kSetCloneFilter = 68,
    kSetCloneMetadata = 69,
    kSetCloneRename = 70,
    kSetCloneRenameMask = 71,
    kSetCloneRenameDigits = 72,
    kSetCloneRenameCase = 73,
    kSetCloneRenameFind = 74,
    kSetCloneRenameReplace = 75,
    kSetClonePreserveDate = 76,
    kSetCloneTifCompmode = 77,
    kSetCloneJpgProgressive = 78,
    kSetGenerateHtml = 80,
    kSetHtmlBase = 81,
    kSetHtmlDirclean = 82,
    kSetHtmlExtension = 83,
    kSetThumbSortierung = 84,
    kSetThumbSortierrichtung = 85,
    kSetDecoPath = 86,
    kSetDecoCopy = 87,
    kSetDecoCopyEver = 88,
    kSetDecoSource = 90,
    kSetLaunchBrowser = 91,
    kSetHtmlDoctype = 92,
    kSetHtmlHtml = 93,
    kSetHtmlChanged = 94,
    kSetGenerateFrame = 95,
    kSetHtmlFrameFilename = 96,
    kSetHtmlFrameInBasedir = 97,
    kSetHtmlFrameHeadDisable = 98,
    kSetGenerateIndex = 99,
    kSetHtmlIndexFilename = 100,
    kSetHtmlIndexInBasedir = 101,
    kSetHtmlIndexEntriesPerLine = 102,
    kSetHtmlIndexFirstThumbpage = 103,
    kSetHtmlIndexGroup = 104,
    kSetHtmlIndexHeadDisable = 105,
    kSetHtmlIndexPrintDate = 106,
    kSetGenerateThumbpages = 107,
    kSetHtmlDefault = 108,
    kSetHtmlSplit = 109,
    kSetThumbsPerLine = 110,
    kSetLinesPerPage = 111,
    kSetSplitDigits = 112,
    kSetNavExtended = 113,
    kSetHtmlVerweisfolge = 114,
    kSetRefPos = 115,
    kSetHtmlHeadDisable = 116,
    kSetPrintDate = 117,
    kSetGeneratePicpage = 118,
    kSetHtmlBildNavExtended = 119,
    kSetHtmlBildVerweisfolge = 120,
    kSetHtmlBildRefPos = 121,
    kSetHtmlBildHeadDisable = 122,
    kSetHtmlBildPrintDate = 123,
    // Template ranges of the four page kinds.
    kSetHtmlIndexHead = 125,
    kSetHtmlIndexFooter = 141,
    kSetHtmlFrameHead = 144,
    kSetHtmlFrameContent = 146,
    kSetHtmlHead = 149,
    kSetHtmlUp = 157,
    kSetHtmlThumbFooter = 173,
    kSetHtmlPicHead = 176,
    kSetHtmlPicFooter = 194,
};

// The error of a setting whose text is not the number it must be (13, "Type
// mismatch", naming the key and the text).
// The error of a setting that should hold a number; `source` names the
// procedure that found it.
GalvoraError setting_not_a_number(const std::string& key, const std::string& value,
                                  const std::string& source = "erzeugung_durchfuehren");

// The working value, unchanged.
const std::string& setting_text(int index);
// The value as a number compared with 1 ("1" and "1.0" count). A value that
// is not a number raises GalvoraError 13 naming the setting's key.
bool setting_is_one(int index);
// The value as a 32-bit integer (halves to even). A value that is not a
// number, or does not fit, raises GalvoraError 13 naming the setting's key.
int32_t setting_int(int index);
// The value as a number compared with 0: false for 0, true for any other
// number; a value that is not a number raises GalvoraError 13.
bool setting_not_zero(int index);

}  // namespace galvora
