#pragma once

#include <QString>

// What the audio-file library takes from the application framework, reached
// through QtCore alone so that the library needs no widgets: the framework's
// application object publishes these as properties of the running
// QCoreApplication.
namespace QMMultiMedia {

// The framework's build-date text ("M/d/yyyy"); empty without the framework's
// application object.
QString frameworkBuildDateText();

}  // namespace QMMultiMedia
