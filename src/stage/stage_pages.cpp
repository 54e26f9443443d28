// The page texts. Song text reaches the page only through textContent, never as markup, so a song
// cannot add elements or scripts to a phone's page.
#include "stage/stage_pages.h"

namespace psalmora {
namespace {

constexpr std::string_view kLabelsMark = "__LABELS__";

constexpr std::string_view kStagePage = R"HTML(<!DOCTYPE html>
<html lang="de"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1, viewport-fit=cover">
<title>Psalmora</title>
<style>
:root{--bg:#111;--fg:#eee;--chord:#ffcc33;--dim:#999;--mark:#2a3f66;--next:#23301f;--bar:#1b1b1b;--line:#333}
body.light{--bg:#fafafa;--fg:#111;--chord:#b03000;--dim:#666;--mark:#dde8ff;--next:#eef7e6;--bar:#eee;--line:#ccc}
html,body{margin:0;padding:0;background:var(--bg);color:var(--fg)}
body{font-family:"DejaVu Sans","Liberation Sans",Arial,sans-serif;-webkit-text-size-adjust:100%}
#bar{position:sticky;top:0;z-index:2;background:var(--bar);border-bottom:1px solid var(--line);padding:6px 10px;font-size:15px}
#title{font-size:18px;font-weight:bold;margin-right:.5em}
#meta{color:var(--dim)} #meta span{margin-right:.8em;white-space:nowrap}
#order{margin-top:3px;display:flex;flex-wrap:wrap;gap:4px}
#order span{border:1px solid var(--line);border-radius:3px;padding:0 5px;font-size:13px}
#gear{float:right;font-size:20px;background:none;border:none;color:var(--fg);cursor:pointer;padding:0 4px}
#dot{display:inline-block;width:9px;height:9px;border-radius:50%;background:#c33;margin-right:6px;vertical-align:middle}
#dot.on{background:#3c3}
#panel{display:none;background:var(--bar);border-bottom:1px solid var(--line);padding:8px 10px;font-size:15px}
#panel.open{display:block}
#panel .row{display:flex;align-items:center;gap:8px;margin:5px 0;flex-wrap:wrap}
#panel .row label{min-width:8em}
#panel button{min-width:2.6em;min-height:2.2em;font-size:16px}
#panel output{min-width:2.5em;text-align:center;display:inline-block}
#song{padding:8px 10px 40vh 10px}
.block{padding:6px 8px;margin:0 0 8px 0;border-left:5px solid transparent;border-radius:3px}
.block.current{background:var(--mark);border-left-color:#4a8cff}
.block.next{background:var(--next);border-left-color:#6a6}
.block .tag{font-size:.6em;color:var(--dim);display:block;margin-bottom:2px}
.block.empty{display:none}
.line{min-height:1.2em;line-height:1.25}
.chords{display:flex;flex-wrap:wrap;align-items:flex-end}
.cell{display:inline-flex;flex-direction:column;max-width:100%}
.ch{color:var(--chord);font-weight:bold;white-space:pre;min-height:1.25em;padding-right:.3em}
.tx{white-space:pre-wrap;overflow-wrap:anywhere;min-height:1.25em}
body.nochords .ch{display:none}
.tr{font-style:italic;color:var(--dim)}
#free{white-space:pre-wrap;padding:10px;margin:8px 10px;border:1px dashed var(--line)}
#black{display:none;color:#fff;background:#000;border:1px solid #666;padding:2px 6px;margin-left:6px;font-size:13px}
#black.on{display:inline-block}
#nextsong{color:var(--dim);padding:4px 8px}
#empty{color:var(--dim);padding:20px 10px}
</style></head>
<body>
<div id="bar"><button id="gear" aria-label="settings">&#9881;</button><span id="dot"></span><span id="title"></span><span id="black"></span>
<div id="meta"><span id="key"></span><span id="tempo"></span></div><div id="order"></div></div>
<div id="panel">
<div class="row"><label id="lt"></label><button data-d="t" data-s="-1">&minus;</button><output id="vt"></output><button data-d="t" data-s="1">+</button></div>
<div class="row"><label id="lc"></label><button data-d="c" data-s="-1">&minus;</button><output id="vc"></output><button data-d="c" data-s="1">+</button></div>
<div class="row"><label id="lf"></label><button data-d="f" data-s="-2">A&minus;</button><output id="vf"></output><button data-d="f" data-s="2">A+</button></div>
<div class="row"><label id="lch"></label><input type="checkbox" id="ich"></div>
<div class="row"><label id="ll"></label><input type="checkbox" id="il"></div>
</div>
<div id="free" hidden></div>
<div id="song"></div>
<script>
"use strict";
var L=Object.assign({transpose:"Transponieren",capo:"Kapodaster",font:"Schriftgröße",chords:"Akkorde",light:"Hell",
 key:"Tonart",tempo:"Tempo",slide:"Folie",next:"Als Nächstes",nextSong:"Nächstes Lied",black:"Schwarzbild",
 nothing:"Noch kein Lied auf dem Beamer"},__LABELS__);
var S={t:0,c:0,f:20,ch:true,light:false};
try{Object.assign(S,JSON.parse(localStorage.getItem("psalmora.stage")||"{}"));}catch(e){}
function save(){try{localStorage.setItem("psalmora.stage",JSON.stringify(S));}catch(e){}}
var $=function(id){return document.getElementById(id);};
$("lt").textContent=L.transpose;$("lc").textContent=L.capo;$("lf").textContent=L.font;
$("lch").textContent=L.chords;$("ll").textContent=L.light;$("black").textContent=L.black;
var state=null,songKey="",source=null,lastSlide=-1;
function applyLook(){
 document.body.style.fontSize=S.f+"px";
 document.body.classList.toggle("nochords",!S.ch);document.body.classList.toggle("light",!!S.light);
 $("vt").textContent=(S.t>0?"+":"")+S.t;$("vc").textContent=S.c;$("vf").textContent=S.f;
 $("ich").checked=!!S.ch;$("il").checked=!!S.light;}
function el(tag,cls,text){var e=document.createElement(tag);if(cls)e.className=cls;if(text!==undefined)e.textContent=text;return e;}
function line(l){
 if(l.k==="c"){var d=el("div","line chords");
  l.c.forEach(function(p){var c=el("span","cell");c.appendChild(el("span","ch",p[0]));
   c.appendChild(el("span","tx",p[1].replace(/\u00a0/g," ")));d.appendChild(c);});return d;}
 if(l.k==="u")return el("div","line tr",l.x);
 if(l.k==="b")return el("div","line","\u00a0");
 return el("div","line tx",l.x);}
function drawSong(){
 var s=state.song,box=$("song");box.textContent="";
 $("title").textContent=s?s.title:"";
 var key=s&&s.key?L.key+": "+s.key:"";
 if(s&&S.c>0)key+=(key?" · ":"")+L.capo+" "+S.c;
 $("key").textContent=key;$("tempo").textContent=s&&s.tempo?L.tempo+": "+s.tempo+" bpm":"";
 var order=$("order");order.textContent="";if(s)s.order.forEach(function(p){order.appendChild(el("span","",p));});
 if(!s){var e=el("div","",L.nothing);e.id="empty";box.appendChild(e);var m=el("div","");m.id="nextsong";box.appendChild(m);return;}
 s.blocks.forEach(function(b,i){var d=el("div","block");d.setAttribute("data-slide",i+1);
  if(!b.length)d.classList.add("empty");
  d.appendChild(el("span","tag",L.slide+" "+(i+1)));b.forEach(function(l){d.appendChild(line(l));});box.appendChild(d);});
 var n=el("div","",state.next?L.nextSong+": "+state.next:"");n.id="nextsong";box.appendChild(n);}
function mark(){
 var blocks=document.querySelectorAll(".block"),cur=state.paging?state.slide:0,nextAt=0;
 for(var i=0;i<blocks.length;i++){var b=blocks[i],n=i+1;b.classList.toggle("current",n===cur);b.classList.remove("next");
  var t=b.querySelector(".tag");t.textContent=L.slide+" "+n;}
 if(cur>0){for(var j=cur;j<blocks.length;j++){if(!blocks[j].classList.contains("empty")){nextAt=j;break;}}
  if(nextAt>0){blocks[nextAt].classList.add("next");blocks[nextAt].querySelector(".tag").textContent=L.next+" · "+L.slide+" "+(nextAt+1);}}
 $("nextsong").textContent=state.next&&(cur===0||nextAt===0)?L.nextSong+": "+state.next:"";
 if(cur>0&&cur!==lastSlide&&blocks[cur-1]){var r=blocks[cur-1].getBoundingClientRect();
  window.scrollBy({top:r.top-$("bar").offsetHeight-8,behavior:"smooth"});}
 lastSlide=cur;}
function show(next){
 state=next;var k=JSON.stringify(next.song);
 if(k!==songKey){songKey=k;lastSlide=-1;drawSong();}
 var free=$("free");free.hidden=next.free===null;free.textContent=next.free||"";
 $("black").classList.toggle("on",!!next.black);
 mark();document.body.setAttribute("data-version",next.v);
 document.title=(next.song?next.song.title+" \u2013 ":"")+"Psalmora";}
function connect(){
 if(source)source.close();
 source=new EventSource("/stage/events?t="+S.t+"&c="+S.c);
 source.onopen=function(){$("dot").classList.add("on");};
 source.onerror=function(){$("dot").classList.remove("on");};
 source.onmessage=function(e){$("dot").classList.add("on");show(JSON.parse(e.data));};}
document.querySelectorAll("#panel button").forEach(function(b){b.addEventListener("click",function(){
 var d=b.getAttribute("data-d"),s=+b.getAttribute("data-s");
 if(d==="t"){S.t=Math.max(-11,Math.min(11,S.t+s));}else if(d==="c"){S.c=Math.max(0,Math.min(11,S.c+s));}
 else{S.f=Math.max(10,Math.min(60,S.f+s));}
 save();applyLook();if(d!=="f")connect();});});
$("ich").addEventListener("change",function(){S.ch=this.checked;save();applyLook();});
$("il").addEventListener("change",function(){S.light=this.checked;save();applyLook();});
$("gear").addEventListener("click",function(){$("panel").classList.toggle("open");});
window.psalmoraStage={settings:S,apply:function(){save();applyLook();connect();},state:function(){return state;}};
applyLook();connect();
</script></body></html>
)HTML";

constexpr std::string_view kRemotePage = R"HTML(<!DOCTYPE html>
<html lang="de"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1, viewport-fit=cover">
<title>Psalmora</title>
<style>
html,body{margin:0;padding:0;background:#15171a;color:#eee;font-family:"DejaVu Sans","Liberation Sans",Arial,sans-serif;font-size:17px}
header{position:sticky;top:0;background:#202327;padding:8px 10px;border-bottom:1px solid #333;z-index:2}
#now{font-weight:bold;font-size:19px} #where{color:#aaa;font-size:14px}
main{padding:10px}
button{font-size:17px;border-radius:6px;border:1px solid #555;background:#2c3036;color:#eee;padding:10px;cursor:pointer}
button.on{background:#2f6fd6;border-color:#5b93ef}
#paging-row{display:grid;grid-template-columns:1fr 1fr;gap:8px;margin-bottom:8px}
#paging-row button{font-size:22px;padding:18px 6px}
#toggles{display:grid;grid-template-columns:repeat(4,1fr);gap:6px;margin-bottom:12px}
#toggles button{font-size:14px;padding:10px 2px}
h2{font-size:15px;color:#aaa;margin:14px 0 6px 0;font-weight:normal}
#songs{display:flex;flex-direction:column;gap:5px}
#songs button{text-align:left}
#songs button.beamer{background:#2f6fd6}
input,textarea{width:100%;box-sizing:border-box;font-size:17px;background:#111;color:#eee;border:1px solid #555;border-radius:5px;padding:8px;margin-bottom:6px}
textarea{min-height:5em}
#login{max-width:22em;margin:15vh auto;padding:0 14px}
#login input{font-size:26px;text-align:center;letter-spacing:.3em}
#login button{width:100%}
#msg{color:#ff8080;min-height:1.4em;margin-top:8px}
#closed{color:#ffb050;font-size:14px}
</style></head>
<body>
<div id="login" hidden><h2 id="pinlabel"></h2><input id="pin" type="password" inputmode="numeric" autocomplete="off">
<button id="enter"></button><div id="msg"></div></div>
<div id="remote" hidden>
<header><div id="now"></div><div id="where"></div><div id="closed"></div></header>
<main>
<div id="paging-row"><button id="prev">&#9664;</button><button id="next">&#9654;</button></div>
<div id="toggles"><button id="paging"></button><button id="header"></button><button id="footer"></button><button id="black"></button></div>
<h2 id="sellabel"></h2><div id="songs"></div>
<h2 id="freelabel"></h2><input id="freehead"><textarea id="freetext"></textarea><button id="freesend"></button>
<p><button id="logout"></button></p>
</main></div>
<script>
"use strict";
var L=Object.assign({pin:"PIN der Fernbedienung",enter:"Anmelden",wrong:"Falsche PIN",wait:"Bitte %1 s warten",
 back:"Zurück",forward:"Weiter",paging:"Folien",header:"Kopfzeile",footer:"Fußzeile",black:"Schwarzbild",
 selection:"Auswahlliste",free:"Freier Text",freeHead:"Kopfzeile",send:"An Beamer senden",logout:"Abmelden",
 slide:"Folie",closed:"Das Präsentationsfenster ist geschlossen",nothing:"Noch kein Lied auf dem Beamer"},__LABELS__);
var $=function(id){return document.getElementById(id);};
$("pinlabel").textContent=L.pin;$("enter").textContent=L.enter;$("prev").textContent="\u25c0 "+L.back;
$("next").textContent=L.forward+" \u25b6";$("paging").textContent=L.paging;$("header").textContent=L.header;
$("footer").textContent=L.footer;$("black").textContent=L.black;$("sellabel").textContent=L.selection;
$("freelabel").textContent=L.free;$("freehead").placeholder=L.freeHead;$("freesend").textContent=L.send;
$("logout").textContent=L.logout;
var state=null,source=null;
function post(path,fields){
 return fetch(path,{method:"POST",credentials:"same-origin",headers:{"Content-Type":"application/x-www-form-urlencoded"},
  body:new URLSearchParams(fields).toString()});}
function act(fields){post("/remote/action",fields).then(function(r){if(r.status===401)showLogin();});}
function showLogin(){if(source){source.close();source=null;}$("remote").hidden=true;$("login").hidden=false;$("pin").focus();}
function show(s){
 state=s;$("now").textContent=s.title||L.nothing;
 $("where").textContent=s.paging&&s.slide>0?L.slide+" "+s.slide+" / "+s.slides:"";
 $("closed").textContent=s.open?"":L.closed;
 [["paging",s.paging],["header",s.header],["footer",s.footer],["black",s.black]].forEach(function(p){$(p[0]).classList.toggle("on",p[1]);});
 var box=$("songs");box.textContent="";
 $("sellabel").textContent=L.selection+(s.selection.name?": "+s.selection.name:"");
 s.selection.songs.forEach(function(song,i){var b=document.createElement("button");b.textContent=song.title;
  b.setAttribute("data-row",i);if(i===s.row)b.className="beamer";
  b.addEventListener("click",function(){act({a:"send",row:i});});box.appendChild(b);});
 document.body.setAttribute("data-version",s.v);}
function connect(){
 $("login").hidden=true;$("remote").hidden=false;
 if(source)source.close();
 source=new EventSource("/remote/events");
 source.onmessage=function(e){show(JSON.parse(e.data));};
 source.onerror=function(){fetch("/remote/state",{credentials:"same-origin"}).then(function(r){if(r.status===401)showLogin();});};}
function login(){
 post("/remote/login",{pin:$("pin").value}).then(function(r){return r.json().then(function(j){return [r,j];});}).then(function(p){
  if(p[1].ok){$("msg").textContent="";$("pin").value="";connect();return;}
  var s=Math.ceil((p[1].wait||0)/1000);$("msg").textContent=L.wrong+(s>0?" \u2013 "+L.wait.replace("%1",s):"");});}
$("enter").addEventListener("click",login);
$("pin").addEventListener("keydown",function(e){if(e.key==="Enter")login();});
$("prev").addEventListener("click",function(){act({a:"prev"});});
$("next").addEventListener("click",function(){act({a:"next"});});
["paging","header","footer","black"].forEach(function(n){$(n).addEventListener("click",function(){
 act({a:n,on:state&&state[n]?"0":"1"});});});
$("freesend").addEventListener("click",function(){act({a:"free",head:$("freehead").value,text:$("freetext").value});});
$("logout").addEventListener("click",function(){post("/remote/logout",{}).then(showLogin);});
fetch("/remote/state",{credentials:"same-origin"}).then(function(r){if(r.status===401)showLogin();else connect();});
</script></body></html>
)HTML";

std::string WithLabels(std::string_view page, std::string_view labelsJson) {
  std::string html(page);
  const std::size_t at = html.find(kLabelsMark);
  html.replace(at, kLabelsMark.size(), labelsJson.empty() ? std::string_view("{}") : labelsJson);
  return html;
}

}  // namespace

std::string StagePageHtml(std::string_view labelsJson) {
  return WithLabels(kStagePage, labelsJson);
}

std::string RemotePageHtml(std::string_view labelsJson) {
  return WithLabels(kRemotePage, labelsJson);
}

}  // namespace psalmora
