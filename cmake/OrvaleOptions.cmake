# Compiler settings shared by every target of the project.

function(orvale_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ORVALE_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  # g++ 12 at -O3 reports -Wrestrict on ordinary std::string concatenation inside
  # libstdc++ itself (GCC bug 105329); the warning says nothing about our code there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()

if(ORVALE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# A sanitized library can only be linked into sanitized programs; say so on the
# target so that users of an installed dev build link correctly too.
function(orvale_propagate_sanitizers target)
  if(ORVALE_SANITIZE)
    target_link_options(${target} INTERFACE -fsanitize=address,undefined)
  endif()
endfunction()
