# Warning flags shared by every target of the project.
add_library(psalmora_warnings INTERFACE)
target_compile_options(psalmora_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                   -Wold-style-cast -Wcast-align -Woverloaded-virtual)
if(PSALMORA_WERROR)
  target_compile_options(psalmora_warnings INTERFACE -Werror)
endif()
