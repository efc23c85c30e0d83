/* The release image in four sections, each as full as the 512-byte file
   blocks allow:
     .text   code, read-only data, import lookup tables and names  (RX)
     .idata  import directory, import address table, DLL names, state (RW)
     .rsrc   resources; .reloc base relocations                   (R)
   ld fills in the import, resource and relocation directories from
   these section names, so the import directory must open its section.
   The import address table stays writable for loaders that patch it in
   place; nothing is both writable and executable. */
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .text __image_base__ + (__section_alignment__ < 0x1000 ? . : __section_alignment__) :
  {
    *(.text)
    *(SORT(.text$*))
    *(.text.*)
    *(.rdata)
    *(SORT(.rdata$*))
    /* Each library's lookup table, in the order of its directory entry. */
    KEEP (SORT(*)(.idata$4))
    KEEP (SORT(*)(EXCLUDE_FILE (*libavifil32.a:*) .idata$6))
  }
  .idata BLOCK(__section_alignment__) :
  {
    KEEP (SORT(*)(.idata$2))
    KEEP (SORT(*)(.idata$3))
    LONG (0); LONG (0); LONG (0); LONG (0); LONG (0);
    __IAT_start__ = .;
    KEEP (SORT(*)(.idata$5))
    __IAT_end__ = .;
    KEEP (SORT(*)(.idata$7))
    *(.data)
    *(SORT(.data$*))
    *(.bss)
    *(COMMON)
  }
  .rsrc BLOCK(__section_alignment__) : SUBALIGN(4)
  {
    KEEP (*(.rsrc))
    KEEP (*(SORT(.rsrc$*)))
    /* The AVI services' import names, in the last block's slack. */
    KEEP (*libavifil32.a:*(.idata$6))
  }
  .reloc BLOCK(__section_alignment__) :
  {
    *(.reloc)
  }
  /DISCARD/ :
  {
    *(.debug$S) *(.debug$T) *(.debug$F)
    *(.drectve) *(.note.GNU-stack) *(.gnu.lto_*)
  }
}
