# Installs the build into a fresh folder, as `cmake --install` would into
# /usr/local, and checks that the programs, the shared files and what the
# desktop needs arrived, and that the desktop's type database takes the type
# of the native data files.
#   -DBUILD_DIR=<build> -DPREFIX=<scratch folder> -DGUI=ON|OFF
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(expected
  bin/dalvex-batch
  share/dalvex/Sth.ini
  share/dalvex/samples/demo.dvx
  share/dalvex/samples/demo.txt
  share/dalvex/help/contents.html
  share/dalvex/help/index.txt
  share/applications/dalvex.desktop
  share/icons/hicolor/scalable/apps/dalvex.svg
  share/mime/packages/dalvex.xml)
if(GUI)
  list(APPEND expected bin/dalvex)
endif()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The menu entry opens a file handed over by the file manager and names the
# data formats; the type of .dvx files is the one the entry names.
file(READ "${PREFIX}/share/applications/dalvex.desktop" entry)
foreach(line "Exec=dalvex %f" "Icon=dalvex"
    "MimeType=application/x-dalvex-data;text/csv;text/plain;text/tab-separated-values;application/x-dbf;"
    "Name=DALVEX" "Comment=Статистический анализ данных и научная графика")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks the line: ${line}")
  endif()
endforeach()

find_program(update_mime update-mime-database)
if(update_mime AND NOT EXISTS "${PREFIX}/share/mime/application/x-dalvex-data.xml")
  message(FATAL_ERROR "update-mime-database did not take share/mime/packages/dalvex.xml")
endif()
