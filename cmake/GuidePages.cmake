# The modder's guide in both languages and the command-line reference: their
# Markdown files, pictures and, with QUARNET_BUILD_GUIDE_PAGES, their web
# pages, made by packaging/html/make-pages.py with Debian's python3-markdown.
# Included by each platform's packaging file, which installs them.
#   QUARNET_GUIDE_SOURCES   the Markdown files
#   QUARNET_GUIDE_PICTURES  the pictures they show
#   QUARNET_GUIDE_PAGES     the pages and their stylesheet (when built)

set(QUARNET_GUIDE_SOURCES ${PROJECT_SOURCE_DIR}/docs/guide.zh-CN.md ${PROJECT_SOURCE_DIR}/docs/guide.md
                          ${PROJECT_SOURCE_DIR}/docs/command-line.md)
file(GLOB QUARNET_GUIDE_PICTURES ${PROJECT_SOURCE_DIR}/docs/*.png)
set(QUARNET_GUIDE_PAGES)
if(NOT QUARNET_BUILD_GUIDE_PAGES)
  return()
endif()

# A python3 on the PATH may be one of its own (pyenv, a virtual environment)
# without Debian's modules; the system's is tried after it.
if(NOT QUARNET_MARKDOWN_PYTHON)
  find_program(quarnet_python_on_path python3)
  foreach(python ${quarnet_python_on_path} /usr/bin/python3)
    execute_process(COMMAND ${python} -c "import markdown" RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(failed EQUAL 0)
      set(QUARNET_MARKDOWN_PYTHON ${python} CACHE FILEPATH "A Python 3 that has the markdown module (python3-markdown)")
      break()
    endif()
  endforeach()
  if(NOT QUARNET_MARKDOWN_PYTHON)
    message(FATAL_ERROR "The guide's web pages need python3-markdown: run 'bash scripts/install-deps.sh test', "
                        "or configure with -DQUARNET_BUILD_GUIDE_PAGES=OFF")
  endif()
endif()

set(quarnet_pages_dir ${PROJECT_BINARY_DIR}/guide-pages)
set(quarnet_stylesheet ${PROJECT_SOURCE_DIR}/packaging/html/guide.css)
set(QUARNET_GUIDE_PAGES ${quarnet_pages_dir}/guide.css)
foreach(source ${QUARNET_GUIDE_SOURCES})
  get_filename_component(name ${source} NAME_WLE)
  list(APPEND QUARNET_GUIDE_PAGES ${quarnet_pages_dir}/${name}.html)
endforeach()
add_custom_command(OUTPUT ${QUARNET_GUIDE_PAGES}
  COMMAND ${QUARNET_MARKDOWN_PYTHON} ${PROJECT_SOURCE_DIR}/packaging/html/make-pages.py
          ${quarnet_pages_dir} ${quarnet_stylesheet} ${QUARNET_GUIDE_SOURCES}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/html/make-pages.py ${quarnet_stylesheet} ${QUARNET_GUIDE_SOURCES}
  COMMENT "The guide's web pages"
  VERBATIM)
add_custom_target(quarnet_guide_pages ALL DEPENDS ${QUARNET_GUIDE_PAGES})
