#pragma once
// The sentences the windows show for a failure, in Russian: what could not
// be done, what to check, the file and the system's reason. The engine's
// own messages stay English for the command line; the windows read the file
// and the error code from the exception and say it in their own words.

#include <QString>

#include <exception>

namespace meridan {

// The system's reason for an errno, in Russian ("нет такого файла или
// каталога"); one the table lacks is given in the system's words with its
// number.
QString SystemReason(int error);

// task: what the user asked for and did not get ("Прогноз не составлен."),
// empty when the sentence says enough.
QString ErrorMessage(const std::exception& error, const QString& task = {});

}  // namespace meridan
