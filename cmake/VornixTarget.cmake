# Common settings for every Vornix target: warnings, and sanitizers when asked;
# otherwise the full hardening Debian builds its packages with.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported()

# Stack protector, stack clash protection, control-flow protection (where the
# processor has it), fortified library calls (they need an optimised build),
# position independent executables, and read-only relocations bound at start.
set(VORNIX_HARDENING_COMPILE -fstack-protector-strong
  $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE> $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "VORNIX_HAS${flag}" has_flag)
  check_cxx_compiler_flag(${flag} ${has_flag})
  if(${has_flag})
    list(APPEND VORNIX_HARDENING_COMPILE ${flag})
  endif()
endforeach()
set(VORNIX_HARDENING_LINK -Wl,-z,relro -Wl,-z,now)

function(vornix_target_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VORNIX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  else()
    target_compile_options(${target} PRIVATE ${VORNIX_HARDENING_COMPILE})
    target_link_options(${target} PRIVATE ${VORNIX_HARDENING_LINK})
    set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  endif()
endfunction()

# Qt targets: moc on, no string-based connects.
function(vornix_qt_target target)
  vornix_target_settings(${target})
  set_target_properties(${target} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_compile_definitions(${target} PRIVATE QT_NO_CONTEXTLESS_CONNECT)
endfunction()
