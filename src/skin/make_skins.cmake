# Writes the skin files from the skin table and the two templates (cmake -P).
#   TABLE             the skin table, one skin a line
#   PALETTE_TEMPLATE  the palette section, with @FIELD@ placeholders
#   SHEET_TEMPLATE    the style sheet section, with @FIELD@ placeholders
#   OUTPUT_DIR        where skin01.zsk ... go
#   COUNT             how many skins the table must hold, numbered 1..COUNT in order
foreach(var TABLE PALETTE_TEMPLATE SHEET_TEMPLATE OUTPUT_DIR COUNT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_skins.cmake: ${var} is not set")
  endif()
endforeach()

set(fields NAME WINDOW WINDOW_TEXT BUTTON_TOP BUTTON_BOTTOM BUTTON_TEXT FRAME ACCENT ACCENT_DEEP ACCENT_TEXT
    TRACK HANDLE RADIUS)
list(LENGTH fields field_count)

file(READ "${PALETTE_TEMPLATE}" palette_template)
file(READ "${SHEET_TEMPLATE}" sheet_template)
file(STRINGS "${TABLE}" lines REGEX "^[0-9]")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")

set(expected 1)
foreach(line IN LISTS lines)
  string(REPLACE "|" ";" values "${line}")
  list(POP_FRONT values number)
  list(LENGTH values value_count)
  if(NOT number EQUAL expected OR NOT value_count EQUAL field_count)
    message(FATAL_ERROR "make_skins.cmake: bad row for skin ${expected}: ${line}")
  endif()
  foreach(field value IN ZIP_LISTS fields values)
    set(${field} "${value}")
  endforeach()

  string(CONFIGURE "${palette_template}" palette @ONLY)
  string(CONFIGURE "${sheet_template}" sheet @ONLY)
  string(LENGTH "${palette}" palette_size)
  string(LENGTH "${sheet}" sheet_size)
  string(SHA256 checksum "${palette}${sheet}")

  string(CONCAT skin
    "ZEDADE-SKIN 1\n"
    "name: ${NAME}\n"
    "style: Fusion\n"
    "palette: ${palette_size}\n"
    "sheet: ${sheet_size}\n"
    "sha256: ${checksum}\n"
    "\n"
    "${palette}${sheet}")
  if(number LESS 10)
    set(number "0${number}")
  endif()
  file(WRITE "${OUTPUT_DIR}/skin${number}.zsk" "${skin}")
  math(EXPR expected "${expected} + 1")
endforeach()

math(EXPR written "${expected} - 1")
if(NOT written EQUAL COUNT)
  message(FATAL_ERROR "make_skins.cmake: the table holds ${written} skins, not ${COUNT}")
endif()
