# The release date is written once, as YYYY-MM-DD; Debian changelogs want it
# in RFC 2822 form ("Tue, 08 Dec 2026 00:00:00 +0000"), weekday included.
function(vornix_rfc2822_date iso_date out_var)
  if(NOT iso_date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
    message(FATAL_ERROR "Release date '${iso_date}' is not YYYY-MM-DD")
  endif()
  set(year ${CMAKE_MATCH_1})
  set(day ${CMAKE_MATCH_3})
  math(EXPR month "${CMAKE_MATCH_2}")
  set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  math(EXPR month_index "${month} - 1")
  list(GET month_names ${month_index} month_name)

  # Sakamoto's weekday formula; 0 is Sunday.
  set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  list(GET month_offsets ${month_index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekday_names Sun Mon Tue Wed Thu Fri Sat)
  list(GET weekday_names ${weekday} weekday_name)

  set(${out_var} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()
