/* cleanup - clears work files, free form and lower case, as some shops write it */
pgm parm(&lib &mode)
   dcl &lib  *char 10
   dcl &mode *char 4
   dcl &msgid *char 7
   dcl &obj *char 10 value('WORK*')     /* generic name */

   monmsg cpf0000 exec(goto error)

   if (&mode *eq '*ALL') then(do)
      clrlib lib(&lib)
   enddo
   else cmd(if (%sst(&mode 1 1) *eq 'W') then(do))
      dltf file(&lib/&obj)
      monmsg cpf2105               /* nothing to delete */
   enddo
   else do
      sndpgmmsg msg('Mode ' *cat &mode *tcat ' is not known; nothing -
is cleared.') topgmq(*ext)
   enddo

   if cond(&lib *ne ' ' *and &mode *ne ' ') +
      then(chgvar &msgid 'CPF0000')
   return

error:
   rcvmsg msgtype(*last) msgid(&msgid) rmv(*no)
   sndpgmmsg msgid(cpf9898) msgf(qcpfmsg) msgdta('Cleanup of' *bcat &lib *bcat 'failed') -
     msgtype(*escape)
endpgm
