# cmake -DMODULE=<path to TORVA.dll> -P CheckWindowsModule.cmake
# The VST2 DLL is an x86-64 image that imports only Windows system DLLs (the
# toolchain's runtime is linked in) and exports exactly its two entry points.
cmake_minimum_required(VERSION 3.20)
if(NOT EXISTS "${MODULE}")
  message(FATAL_ERROR "${MODULE} does not exist: build the Windows target first")
endif()
execute_process(COMMAND x86_64-w64-mingw32-objdump -p "${MODULE}"
                OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${MODULE}")
endif()
if(NOT dump MATCHES "file format pei-x86-64")
  message(FATAL_ERROR "${MODULE} is not an x86-64 image")
endif()

set(system_dlls kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll
    oleaut32.dll comctl32.dll comdlg32.dll msvcrt.dll ucrtbase.dll shlwapi.dll winmm.dll
    msimg32.dll version.dll uxtheme.dll dwmapi.dll imm32.dll ws2_32.dll bcrypt.dll ntdll.dll
    wininet.dll)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "${MODULE} imports nothing; the dump was not understood")
endif()
foreach(line ${imports})
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  if(NOT lower IN_LIST system_dlls AND NOT lower MATCHES "^api-ms-win-")
    message(FATAL_ERROR "${MODULE} imports ${dll}, which is not a Windows system DLL")
  endif()
  message(STATUS "imports ${dll}")
endforeach()

string(REGEX MATCHALL "\n[ \t]*\\[ *[0-9]+\\] [A-Za-z_][A-Za-z0-9_@]*" lines "${dump}")
set(exports "")
foreach(line ${lines})
  string(REGEX REPLACE ".*\\] " "" name "${line}")
  list(APPEND exports ${name})
endforeach()
list(SORT exports)
if(NOT exports STREQUAL "VSTPluginMain;main")
  message(FATAL_ERROR "${MODULE} exports '${exports}', expected VSTPluginMain and main")
endif()
