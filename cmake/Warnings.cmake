# Shared warning and strictness settings for every target of the project.
add_library(quillmark_warnings INTERFACE)
target_compile_options(quillmark_warnings INTERFACE -Wall -Wextra)
target_compile_definitions(quillmark_warnings INTERFACE
  QT_NO_CAST_TO_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_DISABLE_DEPRECATED_BEFORE=0x050F00
)
