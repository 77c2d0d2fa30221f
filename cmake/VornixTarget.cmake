# Common settings for every Vornix target: warnings, and sanitizers when asked.
function(vornix_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VORNIX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Qt targets: moc on, no string-based connects.
function(vornix_qt_target target)
  vornix_target_settings(${target})
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_compile_definitions(${target} PRIVATE QT_NO_CONTEXTLESS_CONNECT)
endfunction()
