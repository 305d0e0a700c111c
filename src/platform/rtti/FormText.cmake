# nv_embed_form_texts(<target> <file.form>...): compiles each form text into <target>.
# A file Unit.form becomes the function nv::formtext::Unit() (declare it with
# NV_FORM_TEXT_DECLARE(Unit), attach it with b.FormText(NV_FORM_TEXT(Unit)) in the class's
# NV_PUBLISH block). The file's base name must be an identifier. Editing the file rebuilds.
set(NV_EMBED_FORM_TEXT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFormText.cmake CACHE INTERNAL "")

function(nv_embed_form_texts target)
  foreach(file IN LISTS ARGN)
    get_filename_component(path ${file} ABSOLUTE)
    get_filename_component(unit ${file} NAME_WE)
    get_filename_component(name ${file} NAME)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/formtext/${unit}_form.cpp)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DINPUT=${path} -DOUTPUT=${out} -DUNIT=${unit} -DSOURCE=${name}
              -P ${NV_EMBED_FORM_TEXT_SCRIPT}
      DEPENDS ${path} ${NV_EMBED_FORM_TEXT_SCRIPT}
      COMMENT "Embedding form text ${name}"
      VERBATIM)
    target_sources(${target} PRIVATE ${out})
  endforeach()
  target_link_libraries(${target} PUBLIC nv_rtti)
endfunction()
