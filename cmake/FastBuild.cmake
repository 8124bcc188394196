# How the build keeps its compile time down. Included from the top-level
# CMakeLists.txt.
#
#   TANDOR_UNITY_BUILD           each layer library is compiled in a few large
#                                batches of its sources (a unity build) (on)
#   TANDOR_PRECOMPILED_HEADERS   the Qt, standard and test headers are parsed
#                                once, into a precompiled header that the
#                                targets of one kind share (on)
#
# Names local to a source file (an anonymous namespace) share one batch with
# the other files of their library, so two files of a library must not give
# the same local name to different things.
#
# The targets of one kind take the precompiled header of the first target of
# that kind. GCC checks that a target's macros and options suit the header and
# parses the headers as usual where they do not; clang refuses a header made
# with other macros, so a clang build (the fuzz targets) does without.

option(TANDOR_UNITY_BUILD "Compile each layer library in batches of its sources" ON)
option(TANDOR_PRECOMPILED_HEADERS "Precompile the Qt, standard and test headers" ON)
set(TANDOR_UNITY_BATCH_SIZE 16 CACHE STRING "Sources per batch of a layer library")

# The headers nearly every source of the plain code includes.
set(tandor_pch_PLAIN
  <QString> <QStringList> <QByteArray> <QList> <QHash> <QSet> <QFile> <QFileInfo> <QDir>
  <QDate> <QRegularExpression> <QTextStream> <QRectF> <QObject>
  <algorithm> <array> <functional> <memory> <optional> <vector>)
# And the windows'.
set(tandor_pch_WIDGETS ${tandor_pch_PLAIN}
  <QApplication> <QWidget> <QMainWindow> <QDialog> <QAction> <QMenu> <QMenuBar> <QLabel>
  <QLineEdit> <QPushButton> <QComboBox> <QCheckBox> <QRadioButton> <QBoxLayout> <QGridLayout>
  <QPainter> <QKeyEvent>)
# A shared header that GCC passes over is named in a warning.
if(TANDOR_PRECOMPILED_HEADERS AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Winvalid-pch)
endif()

# And the tests'.
set(tandor_pch_TESTS ${tandor_pch_WIDGETS} <QTest> <QProcess> <gtest/gtest.h>)

# Sets up a target of KIND (PLAIN, WIDGETS or TESTS) to share its kind's
# precompiled header; with UNITY, it is compiled in batches.
function(tandor_fast_build target kind)
  cmake_parse_arguments(arg "UNITY" "" "" ${ARGN})
  if(arg_UNITY AND TANDOR_UNITY_BUILD)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TANDOR_UNITY_BATCH_SIZE})
  endif()
  if(NOT TANDOR_PRECOMPILED_HEADERS OR CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
  endif()
  if(NOT DEFINED tandor_pch_${kind})
    message(FATAL_ERROR "tandor_fast_build: unknown kind ${kind}")
  endif()
  get_property(owner GLOBAL PROPERTY tandor_pch_owner_${kind})
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${target} PRIVATE ${tandor_pch_${kind}})
    set_property(GLOBAL PROPERTY tandor_pch_owner_${kind} ${target})
  endif()
endfunction()
