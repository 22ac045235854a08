# One INTERFACE target carries the language standard, the warnings and the
# Qt strictness macros; every target of the project links it.
add_library(quavern_common INTERFACE)
target_compile_features(quavern_common INTERFACE cxx_std_17)
target_include_directories(quavern_common INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(quavern_common INTERFACE -Wall -Wextra -Wpedantic)
if(QUAVERN_WERROR)
    target_compile_options(quavern_common INTERFACE -Werror)
endif()
target_compile_definitions(quavern_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_KEYWORDS
    QT_USE_QSTRINGBUILDER)
if(QUAVERN_SANITIZE)
    target_compile_options(quavern_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                    -fno-sanitize-recover=undefined)
    target_link_options(quavern_common INTERFACE -fsanitize=address,undefined)
    # With the sanitizers, g++ 12 warns that std::regex's own states "may be
    # used uninitialized", a known false positive inside <regex>; the
    # sanitizer build keeps every other warning an error.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(quavern_common INTERFACE -Wno-maybe-uninitialized)
    endif()
endif()
set(CMAKE_CXX_EXTENSIONS OFF)
