# Makes the browser build's site beside zobu4.js and zobu4.wasm: the page, the art gzipped, the
# test scripts, and a service worker that keeps them all. Run by the build:
#   cmake -DSOURCE=<repository> -DSITE=<folder> -P site.cmake
set(page ${SOURCE}/platform/host/web/page)
file(MAKE_DIRECTORY ${SITE}/Bitmaps ${SITE}/scripts)
foreach(name index.html manifest.webmanifest)
    configure_file(${page}/${name} ${SITE}/${name} COPYONLY)
endforeach()
foreach(size 192 512)
    configure_file(${SOURCE}/res/web/zobu4-${size}.png ${SITE}/zobu4-${size}.png COPYONLY)
endforeach()
file(GLOB scripts ${SOURCE}/tests/scripts/*.script)
file(COPY ${scripts} DESTINATION ${SITE}/scripts)

# The art travels gzipped (a 640 x 480 bitmap is 900 KB, gzipped 4 KB); the page unpacks it.
file(GLOB art RELATIVE ${SOURCE}/Bitmaps ${SOURCE}/Bitmaps/*.bmp)
list(SORT art)
set(files "./" index.html page.js zobu4.js zobu4.wasm manifest.webmanifest zobu4-192.png
          zobu4-512.png)
set(art_json "")
foreach(name ${art})
    execute_process(COMMAND gzip -9nc ${SOURCE}/Bitmaps/${name}
                    OUTPUT_FILE ${SITE}/Bitmaps/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
    list(APPEND files Bitmaps/${name}.gz)
    string(APPEND art_json "\"${name}\", ")
endforeach()
string(REGEX REPLACE ", $" "" art_json "${art_json}")
set(ZOBU_ART "[${art_json}]")
configure_file(${page}/page.js ${SITE}/page.js @ONLY)

# The version is the files' own: any change makes browsers fetch them anew.
set(digests "")
foreach(name ${files})
    if(NOT name STREQUAL "./")
        file(SHA256 ${SITE}/${name} digest)
        string(APPEND digests ${digest})
    endif()
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 ZOBU_SITE_VERSION)
list(JOIN files "\", \"" quoted)
set(ZOBU_SITE_FILES "[\"${quoted}\"]")
configure_file(${page}/sw.js.in ${SITE}/sw.js @ONLY)
