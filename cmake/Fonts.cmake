# The fonts the program carries. Debian ships the CJK face only inside a
# collection, so the Simplified Chinese face is extracted at configure time;
# the other fonts are copied under the names the code uses. The CJK face
# (16 MB) stays a file, registered from disk (BuiltInFonts): in the resources
# it would be read whole at every start. The others are resources.
set(QM_FONT_DIR ${CMAKE_BINARY_DIR}/fonts)
file(MAKE_DIRECTORY ${QM_FONT_DIR})

set(QM_CJK_TTC /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc)
set(QM_MONO_TTF /usr/share/fonts/truetype/noto/NotoMono-Regular.ttf)
set(QM_KEYMAP_TTF /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)

foreach(f ${QM_CJK_TTC} ${QM_MONO_TTF} ${QM_KEYMAP_TTF})
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "${f} is missing: run scripts/install-deps.sh")
  endif()
endforeach()

if(NOT EXISTS ${QM_FONT_DIR}/NotoSansCJKsc-Regular.otf)
  execute_process(
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/extract_cjk_sc.py
            ${QM_CJK_TTC} ${QM_FONT_DIR}/NotoSansCJKsc-Regular.otf
    RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not extract the CJK SC face (python3-fonttools missing?)")
  endif()
endif()
configure_file(${QM_MONO_TTF} ${QM_FONT_DIR}/NotoMono-Regular.ttf COPYONLY)
configure_file(${QM_KEYMAP_TTF} ${QM_FONT_DIR}/keymap.ttf COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/resources/fontawesome/fa-solid-900.ttf
               "${QM_FONT_DIR}/Font Awesome 5 Free-Solid-900.otf" COPYONLY)

file(WRITE ${QM_FONT_DIR}/fonts.qrc.in
"<RCC>
  <qresource prefix=\"/fonts\">
    <file>NotoMono-Regular.ttf</file>
    <file>keymap.ttf</file>
  </qresource>
  <qresource prefix=\"/fontawesome\">
    <file>Font Awesome 5 Free-Solid-900.otf</file>
  </qresource>
</RCC>
")
configure_file(${QM_FONT_DIR}/fonts.qrc.in ${QM_FONT_DIR}/fonts.qrc COPYONLY)

qt5_add_big_resources(QM_FONT_OBJECTS ${QM_FONT_DIR}/fonts.qrc)
# An object library, so that every executable links the resource initialiser
# (a static library would let the linker drop it).
add_library(quillmark_fonts OBJECT ${QM_FONT_OBJECTS})
set_target_properties(quillmark_fonts PROPERTIES LINKER_LANGUAGE CXX)
# Objects made by rcc are not compiled sources, so linking the object library
# alone leaves them out: hand them to every consumer's link line.
target_link_libraries(quillmark_fonts INTERFACE ${QM_FONT_OBJECTS})

include(GNUInstallDirs)
install(FILES ${QM_FONT_DIR}/NotoSansCJKsc-Regular.otf DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmark/fonts)
