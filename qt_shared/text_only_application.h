#pragma once
// The application object of a dialog program: a plain QCoreApplication when the command line
// only asks for --help or --version (so those work without a display), else QApplication.
#include <QCoreApplication>
#include <memory>

namespace qtshared {

// argc must outlive the application (Qt keeps a reference to it).
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv);

}  // namespace qtshared
