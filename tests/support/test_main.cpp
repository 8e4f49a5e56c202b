// Test entry point: the test environment, one application object for the whole test
// process (a QCoreApplication for the unit tests, which have no windows), then GoogleTest.
#ifdef PLOVANA_TEST_CORE_ONLY
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#else
#include <QApplication>
using TestApplication = QApplication;
#endif
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

// Qt, fontconfig and libmpv keep allocations until exit: no leak reports. Stop at the
// first undefined behaviour.
extern "C" const char *__asan_default_options() { return "detect_leaks=0:abort_on_error=1"; }
extern "C" const char *__ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("PLOVANA_MPV_AO", "null", 0);
    setenv("PLOVANA_TEST_MEDIA", PLOVANA_TEST_MEDIA_DIR, 0);
    setenv("PLOVANA_EXE", PLOVANA_EXE_PATH, 0);
    setenv("PLOVANA_MIXER", "none", 0);
    setenv("PLOVANA_SOURCE", PLOVANA_SOURCE_DIR, 0);
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    // libmpv needs the C numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
