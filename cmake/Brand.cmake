# The brand a reseller ships under: one folder (KESTRON_BRAND) holding
# brand.txt (the texts, see brands/kestron/brand.txt) and the pictures
# splash.bmp, overlay.bmp and icon.ico. kestron_read_brand() reads and checks
# it before project(), so that a bad brand ends the configure step at once
# with nothing built; kestron_write_brand() then writes what the sources,
# the resource script, the manifest and the installer take from it.

# A title reads back at most this many bytes (the launcher reads window texts
# into 200 bytes, NUL included): a longer text would never match itself.
set(kestron_max_text_bytes 199)
# Every field: its name, and the C++ constant it defines ("-": none).
set(kestron_brand_fields
  main_title_en BrandMainEn  main_title_cn BrandMainCn
  about_title_en BrandAboutEn  about_title_cn BrandAboutCn
  product BrandProduct  company BrandCompany  web_address OwnWebAddress
  splash_caption BrandSplashCaption
  product_name BrandProductName  file_description -  publisher BrandPublisher
  assembly_name -  app_id BrandAppId)
# The texts the launcher writes into the companion's windows: none may be a
# title of the companion's, which the dispatch would take for its window.
set(kestron_written_fields main_title_en main_title_cn about_title_en about_title_cn
    product company web_address)
# The texts the launcher writes into the About box, whose rules must leave them be.
set(kestron_about_box_fields product company web_address)
set(kestron_companion_titles TitleMainCn TitleMainEn TitleAboutCn TitleAboutEn
    TitleConnFailCn TitleConnFailEn)
# Picture, width, height and bits per pixel, as the launcher draws them.
set(kestron_brand_bitmaps splash.bmp 452 308 24  overlay.bmp 140 378 24)
# The icon's images: the large one is required; the small ones are optional.
set(kestron_brand_icon_sizes 16 32 48)
set(kestron_brand_icon_size 48)
set(kestron_brand_icon_depth 32)
# What Windows takes for an application's ID (its taskbar identity).
set(kestron_max_app_id_chars 128)

function(kestron_brand_fault where reason)
  message(SEND_ERROR "${where}: ${reason}")
  set_property(GLOBAL APPEND PROPERTY kestron_brand_faults "${where}")
endfunction()

# The bytes of a table constant (text/TextTable.h), from its C++ literals.
function(kestron_table_text table name out)
  string(REGEX MATCH "char ${name}\\[\\] =[^;]*;" definition "${table}")
  string(REGEX MATCHALL "\"[^\"]*\"" literals "${definition}")
  if(NOT literals)
    message(FATAL_ERROR "text/TextTable.h: no constant ${name}")
  endif()
  set(bytes "")
  foreach(literal IN LISTS literals)
    string(REGEX REPLACE "^\"(.*)\"$" "\\1" rest "${literal}")
    while(NOT rest STREQUAL "")
      if(rest MATCHES "^\\\\x([0-9A-Fa-f][0-9A-Fa-f])(.*)$")
        math(EXPR code "0x${CMAKE_MATCH_1}")
        string(ASCII ${code} char)
        set(rest "${CMAKE_MATCH_2}")
      elseif(rest MATCHES "^\\\\")
        message(FATAL_ERROR "text/TextTable.h: ${name}: only \\x escapes are read here")
      else()
        string(SUBSTRING "${rest}" 0 1 char)
        string(SUBSTRING "${rest}" 1 -1 rest)
      endif()
      string(APPEND bytes "${char}")
    endwhile()
  endforeach()
  set(${out} "${bytes}" PARENT_SCOPE)
endfunction()

# Whether a rule of the About box (its Match kind, as in ui/RuleSets.cpp)
# matches a text. The rules' prefix tests ignore letter case.
function(kestron_rule_matches kind rule text out)
  if(kind STREQUAL "Exact")
    string(COMPARE EQUAL "${rule}" "${text}" matched)
    set(${out} ${matched} PARENT_SCOPE)
    return()
  endif()
  string(TOLOWER "${rule}" rule)
  string(TOLOWER "${text}" text)
  if(kind STREQUAL "TextStartsWith")
    set(prefix "${rule}")
    set(whole "${text}")
  elseif(kind STREQUAL "TextIsPrefixOf")
    set(prefix "${text}")
    set(whole "${rule}")
  else()
    message(FATAL_ERROR "ui/RuleSets.cpp: a rule matches by ${kind}, which the brand check does not know")
  endif()
  string(LENGTH "${prefix}" n)
  string(SUBSTRING "${whole}" 0 ${n} start)
  string(COMPARE EQUAL "${start}" "${prefix}" matched)
  set(${out} ${matched} PARENT_SCOPE)
endfunction()

# Writes a text (UTF-8) to `bytes` as GBK, and to `bytes`.utf8 as it stands;
# `out` is whether GBK can encode it.
function(kestron_write_gbk text bytes out)
  file(WRITE ${bytes}.utf8 "${text}")
  execute_process(COMMAND ${ICONV} -f UTF-8 -t CP936 INPUT_FILE ${bytes}.utf8 OUTPUT_FILE ${bytes}
                  RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# Reads one field's text (UTF-8) and its bytes as the launcher holds them:
# GBK for a Chinese field, else ASCII; sets brand_<field> (UTF-8) and
# brand_<field>_bytes (a file holding the bytes).
function(kestron_read_field content field file scratch)
  set(where "Brand file ${file}: field ${field}")
  if(NOT content MATCHES "(^|\n)${field}[ \t]*=[ \t]*\"([^\n]*)\"[ \t\r]*(\n|$)")
    kestron_brand_fault("${where}" "missing (a line ${field} = \"text\")")
    return()
  endif()
  set(text "${CMAKE_MATCH_2}")
  set(bytes ${scratch}/${field})
  if(text STREQUAL "")
    kestron_brand_fault("${where}" "empty")
    return()
  elseif(field MATCHES "_cn$")
    kestron_write_gbk("${text}" ${bytes} encoded)
    if(NOT encoded)
      kestron_brand_fault("${where}" "\"${text}\" has a character that code page 936 (GBK) cannot encode: the Chinese texts are written as GBK bytes")
      return()
    endif()
  elseif(NOT text MATCHES "^[ -~]*$" OR text MATCHES "[\"\\\\]")
    kestron_brand_fault("${where}" "\"${text}\" must be plain ASCII without \" or \\: it is written as it stands on systems of any code page")
    return()
  else()
    file(WRITE ${bytes} "${text}")
  endif()
  file(SIZE ${bytes} size)
  if(size GREATER kestron_max_text_bytes)
    kestron_brand_fault("${where}" "${size} bytes, longer than the ${kestron_max_text_bytes} bytes the launcher reads back from a window title")
  endif()
  set(brand_${field} "${text}" PARENT_SCOPE)
  set(brand_${field}_bytes ${bytes} PARENT_SCOPE)
endfunction()

# The optional field vendor_words: words of the reseller's own companion
# version that give its vendor away, which the brand check (KestronCheck)
# looks for beside the companion's own; separated by ";", blanks around each
# trimmed, each encodable in code page 936 (the check compares them in the
# system's code page: a Chinese word matches on a Chinese system). None may
# occur in a text the launcher writes, which the check would then flag.
# Sets brand_vendor_words (a list of files, each holding one word's bytes).
function(kestron_read_vendor_words content file scratch)
  set(where "Brand file ${file}: field vendor_words")
  set(files "")
  if(content MATCHES "(^|\n)vendor_words[ \t]*=[ \t]*\"([^\n]*)\"[ \t\r]*(\n|$)")
    set(words "${CMAKE_MATCH_2}")  # a CMake list: separated by ";"
    set(i 0)
    foreach(word IN LISTS words)
      string(STRIP "${word}" word)
      if(word STREQUAL "")
        continue()
      endif()
      math(EXPR i "${i} + 1")
      set(bytes ${scratch}/vendor_word_${i})
      kestron_write_gbk("${word}" ${bytes} encoded)
      if(NOT encoded)
        kestron_brand_fault("${where}" "\"${word}\" has a character that code page 936 (GBK) cannot encode")
        continue()
      endif()
      string(TOLOWER "${word}" lower)
      foreach(field IN LISTS kestron_written_fields)
        string(TOLOWER "${brand_${field}}" written)
        string(FIND "${written}" "${lower}" at)
        if(NOT at EQUAL -1)
          kestron_brand_fault("${where}" "\"${word}\" occurs in ${field} (\"${brand_${field}}\"): the brand check would flag the launcher's own text")
        endif()
      endforeach()
      list(APPEND files ${bytes})
    endforeach()
  endif()
  set(brand_vendor_words ${files} PARENT_SCOPE)
endfunction()

# A text the launcher writes may be neither a companion's title nor a text the
# About box's rules act on (the rules, as ui/RuleSets.cpp lists them).
function(kestron_check_collisions file)
  file(READ ${CMAKE_SOURCE_DIR}/text/TextTable.h table)
  string(REGEX REPLACE "//[^\n]*" "" table "${table}")
  file(READ ${CMAKE_SOURCE_DIR}/ui/RuleSets.cpp rules)
  string(REGEX MATCHALL "{[A-Za-z0-9]+, Match::[A-Za-z]+, Action::[A-Za-z]+" rows "${rules}")
  if(NOT rows)
    message(FATAL_ERROR "ui/RuleSets.cpp: no About-box rules found")
  endif()
  foreach(field IN LISTS kestron_written_fields)
    if(NOT DEFINED brand_${field}_bytes)
      continue()
    endif()
    file(READ ${brand_${field}_bytes} text)
    foreach(title IN LISTS kestron_companion_titles)
      kestron_table_text("${table}" ${title} companion)
      if(text STREQUAL companion)
        kestron_brand_fault("Brand file ${file}: field ${field}"
          "\"${brand_${field}}\" is the companion's own title ${title}: the launcher would take a window so titled for the companion's")
      endif()
    endforeach()
    if(NOT field IN_LIST kestron_about_box_fields)
      continue()
    endif()
    foreach(row IN LISTS rows)
      string(REGEX REPLACE "{([A-Za-z0-9]+), Match::([A-Za-z]+), Action::([A-Za-z]+)" "\\1;\\2;\\3" row "${row}")
      list(GET row 0 name)
      list(GET row 1 kind)
      list(GET row 2 action)
      kestron_table_text("${table}" ${name} rule)
      kestron_rule_matches(${kind} "${rule}" "${text}" matched)
      if(matched)
        kestron_brand_fault("Brand file ${file}: field ${field}"
          "\"${brand_${field}}\" is matched by the About box's rule ${name} (${kind}, ${action}): the launcher would act on its own text")
      endif()
    endforeach()
  endforeach()
endfunction()

# The English and Chinese main windows, once retitled, are told apart by
# their titles, and both from the About box.
function(kestron_check_titles_differ file)
  foreach(pair main_title_en:main_title_cn main_title_en:about_title_en main_title_en:about_title_cn
               main_title_cn:about_title_en main_title_cn:about_title_cn)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 one)
    list(GET pair 1 other)
    if(DEFINED brand_${one}_bytes AND DEFINED brand_${other}_bytes)
      file(READ ${brand_${one}_bytes} a)
      file(READ ${brand_${other}_bytes} b)
      if(a STREQUAL b)
        kestron_brand_fault("Brand file ${file}: field ${one}"
          "the same bytes as ${other}: the launcher tells the windows so titled apart by their titles")
      endif()
    endif()
  endforeach()
endfunction()

# Texts that become names or go into a script: the installer's shortcut
# files and script, the manifest's assembly, the About box's web address
# (opened by the shell).
function(kestron_check_names file)
  set(checks
    product_name "[\\/:*?\"<>|]" "names the installer's shortcut files, which cannot hold \\ / : * ? \" < > |"
    product_name "[$]" "goes into the installer's script, where $ starts a variable"
    publisher "[$]" "goes into the installer's script, where $ starts a variable"
    web_address "[^A-Za-z0-9.-]" "must be a host name (letters, digits, dots and hyphens)"
    assembly_name "[^A-Za-z0-9_.-]" "is the manifest's assembly name (letters, digits, dots, hyphens, underscores)")
  while(checks)
    list(POP_FRONT checks field bad reason)
    if(DEFINED brand_${field} AND brand_${field} MATCHES "${bad}")
      kestron_brand_fault("Brand file ${file}: field ${field}" "\"${brand_${field}}\" ${reason}")
    endif()
  endwhile()
  # Windows' form of an application's ID: Company.Product[.SubProduct[.Version]].
  if(DEFINED brand_app_id)
    string(LENGTH "${brand_app_id}" n)
    set(part "[A-Za-z0-9_-]+")
    if(n GREATER kestron_max_app_id_chars)
      kestron_brand_fault("Brand file ${file}: field app_id"
        "${n} characters; Windows takes an application ID of at most ${kestron_max_app_id_chars}")
    elseif(NOT brand_app_id MATCHES "^${part}(\\.${part})(\\.${part})?(\\.${part})?$")
      kestron_brand_fault("Brand file ${file}: field app_id"
        "\"${brand_app_id}\" must be Company.Product, with at most two more sections, each of letters, digits, hyphens and underscores (no blanks)")
    endif()
  endif()
endfunction()

# A little-endian number of `bytes` bytes at `offset` of a file.
function(kestron_file_number path offset bytes out)
  file(READ ${path} hex OFFSET ${offset} LIMIT ${bytes} HEX)
  set(value 0)
  string(LENGTH "${hex}" n)
  while(n GREATER 0)
    math(EXPR n "${n} - 2")
    string(SUBSTRING "${hex}" ${n} 2 byte)
    math(EXPR value "${value} * 256 + 0x${byte}")
  endwhile()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

function(kestron_check_pictures dir)
  set(bitmaps ${kestron_brand_bitmaps})
  while(bitmaps)
    list(POP_FRONT bitmaps name width height depth)
    set(path ${dir}/${name})
    if(NOT EXISTS ${path})
      kestron_brand_fault("Brand picture ${path}" "missing")
      continue()
    endif()
    file(READ ${path} magic LIMIT 2 HEX)
    kestron_file_number(${path} 18 4 w)
    kestron_file_number(${path} 22 4 h)
    kestron_file_number(${path} 28 2 bits)
    kestron_file_number(${path} 30 4 compression)
    if(h GREATER 2147483647)  # a top-down bitmap stores its height negated
      math(EXPR h "4294967296 - ${h}")
    endif()
    if(NOT magic STREQUAL "424d" OR NOT compression EQUAL 0)  # "BM"
      kestron_brand_fault("Brand picture ${path}" "not an uncompressed Windows bitmap (BMP)")
    elseif(NOT "${w} ${h} ${bits}" STREQUAL "${width} ${height} ${depth}")
      kestron_brand_fault("Brand picture ${path}"
        "${w} x ${h} pixels, ${bits} bits per pixel; the launcher draws it at ${width} x ${height}, ${depth} bits per pixel")
    endif()
  endwhile()
  set(path ${dir}/icon.ico)
  if(NOT EXISTS ${path})
    kestron_brand_fault("Brand picture ${path}" "missing")
    return()
  endif()
  kestron_file_number(${path} 2 2 type)
  kestron_file_number(${path} 4 2 count)
  set(where "Brand picture ${path}")
  set(allowed "${kestron_brand_icon_sizes}")
  string(REPLACE ";" ", " allowed_text "${allowed}")
  list(LENGTH allowed most)
  if(NOT type EQUAL 1 OR count LESS 1 OR count GREATER most)
    kestron_brand_fault("${where}" "must be an icon of 1 to ${most} images (found ${count})")
    return()
  endif()
  set(seen "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    math(EXPR entry "6 + 16 * ${i}")
    kestron_file_number(${path} ${entry} 1 w)
    math(EXPR entry_h "${entry} + 1")
    kestron_file_number(${path} ${entry_h} 1 h)
    math(EXPR entry_bits "${entry} + 6")
    kestron_file_number(${path} ${entry_bits} 2 bits)
    math(EXPR entry_image "${entry} + 12")
    kestron_file_number(${path} ${entry_image} 4 image)
    kestron_file_number(${path} ${image} 4 image_header)
    if(NOT w EQUAL h OR NOT w IN_LIST allowed OR w IN_LIST seen OR NOT bits EQUAL kestron_brand_icon_depth)
      kestron_brand_fault("${where}"
        "image ${i} is ${w} x ${h}, ${bits} bits per pixel; each image must be one of ${allowed_text} pixels square, each size once, ${kestron_brand_icon_depth} bits per pixel")
    elseif(NOT image_header EQUAL 40)  # a bitmap's header, not a PNG signature
      kestron_brand_fault("${where}" "image ${i} (${w} x ${h}) is not stored as a bitmap (a PNG image, for one, does not show on Windows XP)")
    endif()
    list(APPEND seen ${w})
  endforeach()
  if(NOT kestron_brand_icon_size IN_LIST seen)
    kestron_brand_fault("${where}" "has no ${kestron_brand_icon_size} x ${kestron_brand_icon_size} image, which the launcher and its installer show")
  endif()
endfunction()

# Reads and checks KESTRON_BRAND; on any fault, ends the configure step with
# every fault named. Sets KESTRON_BRAND_DIR and brand_<field> (UTF-8) and
# brand_<field>_bytes (the file of its bytes) for kestron_write_brand().
macro(kestron_read_brand)
  set(KESTRON_BRAND brands/kestron CACHE STRING
      "The brand folder (brand.txt and its pictures), absolute or relative to the sources")
  get_filename_component(KESTRON_BRAND_DIR "${KESTRON_BRAND}" ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
  find_program(ICONV iconv REQUIRED)
  set(brand_file ${KESTRON_BRAND_DIR}/brand.txt)
  set(brand_scratch ${CMAKE_BINARY_DIR}/brand)
  file(REMOVE_RECURSE ${brand_scratch})
  file(MAKE_DIRECTORY ${brand_scratch})
  set_property(GLOBAL PROPERTY kestron_brand_faults "")
  if(NOT EXISTS ${brand_file})
    kestron_brand_fault("Brand file ${brand_file}" "missing")
  else()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${brand_file})
    file(READ ${brand_file} brand_content)
    # An editor's UTF-8 byte order mark is no part of the first line.
    string(ASCII 239 187 191 bom)
    string(REGEX REPLACE "^${bom}" "" brand_content "${brand_content}")
    set(fields ${kestron_brand_fields})
    while(fields)
      list(POP_FRONT fields field constant)
      kestron_read_field("${brand_content}" ${field} ${brand_file} ${brand_scratch})
    endwhile()
    kestron_read_vendor_words("${brand_content}" ${brand_file} ${brand_scratch})
    kestron_check_collisions(${brand_file})
    kestron_check_titles_differ(${brand_file})
    kestron_check_names(${brand_file})
  endif()
  kestron_check_pictures(${KESTRON_BRAND_DIR})
  get_property(faults GLOBAL PROPERTY kestron_brand_faults)
  if(faults)
    list(LENGTH faults n)
    message(FATAL_ERROR "The brand in ${KESTRON_BRAND_DIR} has ${n} fault(s), named above; nothing is built.")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${KESTRON_BRAND_DIR}/splash.bmp ${KESTRON_BRAND_DIR}/overlay.bmp ${KESTRON_BRAND_DIR}/icon.ico)
endmacro()

# A C++ string literal of a file's bytes: printable ASCII as it stands, every
# other byte (GBK) as a \x escape, the literal split where a hex digit follows one.
function(kestron_cxx_literal path out)
  file(READ ${path} hex HEX)
  string(LENGTH "${hex}" n)
  set(literal "\"")
  set(after_escape FALSE)
  set(i 0)
  while(i LESS n)
    string(SUBSTRING "${hex}" ${i} 2 byte)
    math(EXPR code "0x${byte}")
    math(EXPR i "${i} + 2")
    if(code LESS 32 OR code GREATER 126 OR code EQUAL 34 OR code EQUAL 92)
      string(TOUPPER "${byte}" byte)
      string(APPEND literal "\\x${byte}")
      set(after_escape TRUE)
      continue()
    endif()
    string(ASCII ${code} char)
    if(after_escape AND char MATCHES "[0-9A-Fa-f]")
      string(APPEND literal "\" \"")
    endif()
    string(APPEND literal "${char}")
    set(after_escape FALSE)
  endwhile()
  set(${out} "${literal}\"" PARENT_SCOPE)
endfunction()

# Writes <generated>/KestronBrand.h, the brand's constants for the sources and
# tests, and <generated>/KestronBrand.nsh for the installer; sets the
# KESTRON_BRAND_* variables the resource script's header and the manifest take.
function(kestron_write_brand generated)
  file(WRITE ${brand_scratch}/installer_title "${brand_product_name} V${PROJECT_VERSION}")
  set(brand_installer_title_bytes ${brand_scratch}/installer_title)
  string(CONCAT header "// Generated from the brand file ${brand_file}:\n"
         "// the brand's texts as the launcher writes them, the Chinese ones as GBK bytes.\n"
         "#pragma once\n\n")
  set(fields ${kestron_brand_fields} installer_title BrandInstallerTitle)
  while(fields)
    list(POP_FRONT fields field constant)
    if(constant STREQUAL "-")
      continue()
    endif()
    kestron_cxx_literal(${brand_${field}_bytes} literal)
    string(APPEND header "inline constexpr char ${constant}[] = ${literal};")
    if(literal MATCHES "\\\\x")
      string(APPEND header "  // \"${brand_${field}}\"")
    elseif(field STREQUAL "installer_title")
      string(APPEND header "  // product_name, \" V\" and the version")
    endif()
    string(APPEND header "\n")
  endwhile()
  string(APPEND header "// vendor_words, for the brand check; the list ends with nullptr.\n"
         "inline constexpr const char* BrandVendorWords[] = {")
  foreach(word IN LISTS brand_vendor_words)
    kestron_cxx_literal(${word} literal)
    string(APPEND header "\n    ${literal},")
    if(literal MATCHES "\\\\x")
      file(READ ${word}.utf8 utf8)
      string(APPEND header "  // \"${utf8}\"")
    endif()
  endforeach()
  string(APPEND header "\n    nullptr};\n")
  file(WRITE ${brand_scratch}/KestronBrand.h "${header}")
  configure_file(${brand_scratch}/KestronBrand.h ${generated}/KestronBrand.h COPYONLY)

  file(WRITE ${brand_scratch}/KestronBrand.nsh
    "; Generated from ${brand_file}.\n"
    "!define PRODUCT \"${brand_product_name}\"\n"
    "!define COMPANY \"${brand_publisher}\"\n"
    "!define BRAND_ICON \"${KESTRON_BRAND_DIR}/icon.ico\"\n"
    "!define APP_ID \"${brand_app_id}\"\n")
  configure_file(${brand_scratch}/KestronBrand.nsh ${generated}/KestronBrand.nsh COPYONLY)

  set(KESTRON_BRAND_PRODUCT_NAME "${brand_product_name}" PARENT_SCOPE)
  set(KESTRON_BRAND_FILE_DESCRIPTION "${brand_file_description}" PARENT_SCOPE)
  set(KESTRON_BRAND_PUBLISHER "${brand_publisher}" PARENT_SCOPE)
  set(KESTRON_BRAND_ASSEMBLY_NAME "${brand_assembly_name}" PARENT_SCOPE)
  string(REPLACE "&" "&amp;" xml "${brand_product_name}")
  set(KESTRON_BRAND_PRODUCT_NAME_XML "${xml}" PARENT_SCOPE)
endfunction()
