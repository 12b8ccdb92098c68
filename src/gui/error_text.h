#pragma once
// The sentences the windows show for a failure or a notice, in Russian: what
// could not be done, what to check, the file and the system's reason. The
// engine's own messages stay English for the command line; the windows read
// the file, the error code and the like from the exception and say it in
// their own words, here and nowhere else.

#include <QString>

#include <exception>
#include <filesystem>

#include "forecast/forecast.h"
#include "output/archive/archive.h"

namespace meridan {

// The system's reason for an errno, in Russian ("нет такого файла или
// каталога"); one the table lacks is given in the system's words with its
// number.
QString SystemReason(int error);

// task: what the user asked for and did not get ("Прогноз не составлен."),
// empty when the sentence says enough.
QString ErrorMessage(const std::exception& error, const QString& task = {});

// The engine's own words for an error whose sentence cannot carry them (a
// damaged picture or table, a missing font, a failure inside the program:
// errors that name their file only in English), for the box's details;
// empty when the sentence says it all.
QString ErrorDetails(const std::exception& error);

// What packing Output/ into the archive had to say beside the archive
// itself, one sentence a line; empty when there is nothing to say.
QString PackingNotice(const PackReport& packed, const std::filesystem::path& archive);

// That the forecast came out without texts, and why: one sentence.
QString NoTextsNotice(const NoTexts& noTexts);

}  // namespace meridan
