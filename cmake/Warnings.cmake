# Warning flags shared by every target of the project.
add_library(psalmora_warnings INTERFACE)
target_compile_options(psalmora_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                   -Wold-style-cast -Wcast-align -Woverloaded-virtual)
if(PSALMORA_WERROR)
  target_compile_options(psalmora_warnings INTERFACE -Werror)
endif()

# AddressSanitizer and UndefinedBehaviorSanitizer for every target (the test command builds the core,
# the tool and the core tests this way in a second build folder). Any finding stops the program.
option(PSALMORA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PSALMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # The sanitizers' instrumentation makes g++ 12 report uninitialised members inside std::regex and
  # std::function that are not; the normal build keeps the warning.
  target_compile_options(psalmora_warnings INTERFACE -Wno-maybe-uninitialized)
endif()
