# Cross toolchain: Windows x86_64 with mingw-w64 (posix thread model, for std::thread and
# std::recursive_mutex). Runtimes are linked statically so the shipped files stand alone.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZANVO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZANVO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZANVO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZANVO_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZANVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Cross-built programs run under Wine, in the test run's own prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tests/harness/wine-run")
